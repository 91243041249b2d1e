// The page's side: its controls, the worker that runs the engine, and the results as links.
'use strict';
const $ = (id) => document.getElementById(id);
const status = $('status');
// Each link's Blob by its URL, until the next action revokes them: the page's tests read
// a link's bytes here in a browser whose downloads their driver cannot save.
const offered = new Map();
let limit = 0;   // the most bytes of a file any action takes
// Every pick of a file counts, and so does every identify asked for: an action whose files
// a newer pick has replaced shows nothing, and is skipped if it has not yet begun.
const picks = { image: 0, parts: 0, dumps: 0, layout: 0 };
let identifies = 0;
let busy = 0;   // actions asked for and not yet ended

const worker = new Worker(URL.createObjectURL(
  new Blob([$('worker-source').textContent], { type: 'text/javascript' })));
let answer = null;
worker.onmessage = (event) => answer(event.data);

// The worker takes one request at a time, in the order asked. `make` builds the request when
// its turn comes, reading the files then, or gives none for an action gone stale.
let queue = Promise.resolve();
function ask(make) {
  const reply = queue.then(async () => {
    const request = await make();
    if (!request) return null;
    return new Promise((resolve) => {
      answer = resolve;
      worker.postMessage(request, (request.inputs || []).map((input) => input.bytes));
    });
  });
  queue = reply.catch(() => {});
  return reply;
}

const ready = ask(() => ({ module: Uint8Array.from(atob($('module').textContent), (c) => c.charCodeAt(0)) }))
  .then((report) => {
    limit = report.limit;
    for (const cpu of report.cpus) $('cpu').add(new Option(`${cpu.name}: ${cpu.description}`, cpu.name));
    $('cpu-row').hidden = report.cpus.length === 0;
    for (const board of report.boards)
      $('board').insertBefore(new Option(`${board.name}: ${board.description}`, board.name), $('board').lastChild);
  });

// The files are read here, not in the worker: WebKit lets no worker of a page opened from disk
// read a file, and a transferred ArrayBuffer reaches the worker without a copy. `most` gives
// how many bytes of a file the action takes.
function readInputs(files, most) {
  return Promise.all(files.map(async (file) => ({
    name: file.name, size: file.size, bytes: await file.slice(0, most(file)).arrayBuffer() })));
}
const whole = (file) => (file.size > limit ? 0 : file.size);   // an over-long file is refused by its size
const shares = (files) => () => Math.floor(limit / files.length);

function clearResults() {
  for (const url of offered.keys()) URL.revokeObjectURL(url);
  offered.clear();
  $('outputs').replaceChildren();
  $('zip').replaceChildren();
  $('findings').textContent = '';
  $('board-picture').replaceChildren();
  $('message').textContent = '';
  $('notes').textContent = '';
}

// The board as its socket map gives it: a row per bank, its chips side by side in lane
// order, each with its name, size, checksums and data lines.
function drawBoard(map) {
  const banks = new Map();
  for (const row of map.rows) {
    if (!banks.has(row.bank)) {
      const bank = document.createElement('div');
      bank.className = 'bank';
      const hex = (n) => '0x' + n.toString(16).toUpperCase().padStart(5, '0');
      bank.append(detail(`bank ${row.bank}: ${hex(row.start)}-${hex(row.end - 1)}`, 'bank-label'));
      banks.set(row.bank, bank);
      $('board-picture').append(bank);
    }
    const chip = document.createElement('div');
    chip.className = 'chip';
    chip.append(detail(row.chip, 'chip-name'), detail(`lane ${row.lane} of ${row.lanes}: ${row.holds}`),
      detail(`${row.size} bytes`), detail(row.checksums),
      detail(`${row.bigEndian} big-endian, ${row.littleEndian} little-endian`));
    banks.get(row.bank).append(chip);
  }
}

function detail(text, className = 'detail') {
  const span = document.createElement('span');
  span.className = className;
  span.textContent = text;
  return span;
}

function showOutputs(outputs) {
  const sizes = [];
  for (const output of outputs) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(output.blob);
    link.download = output.name;
    link.textContent = output.name;
    offered.set(link.href, output.blob);
    const item = document.createElement('li');
    sizes.push(detail(`${output.size} bytes, checksums to come`));
    item.append(link, sizes[sizes.length - 1]);
    if (output.socket) item.append(detail(output.socket.trim()));
    $('outputs').append(item);
  }
  return sizes;
}

// One zip record: little-endian fields of [value, bytes], then the name.
function record(name, fields) {
  const view = new DataView(new ArrayBuffer(fields.reduce((n, [, bytes]) => n + bytes, name.length)));
  let at = 0;
  for (const [value, bytes] of fields) {
    if (bytes === 4) view.setUint32(at, value, true); else view.setUint16(at, value, true);
    at += bytes;
  }
  new Uint8Array(view.buffer, at).set(name);
  return view.buffer;
}

// The outputs in one zip, stored as they are, with the CRC32s just summed. Every entry is
// dated 1980-01-01, so the same parts always make the same zip.
function zipOf(outputs, sums) {
  const entries = [], directory = [];
  let offset = 0;
  outputs.forEach((output, k) => {
    const name = new TextEncoder().encode(output.name);
    const common = [[20, 2], [0x800, 2], [0, 2], [0, 2], [0x21, 2], [parseInt(sums[k].crc32, 16), 4],
      [output.size, 4], [output.size, 4], [name.length, 2], [0, 2]];
    const local = record(name, [[0x04034b50, 4], ...common]);
    directory.push(record(name, [[0x02014b50, 4], [20, 2], ...common, [0, 2], [0, 2], [0, 2], [0, 4], [offset, 4]]));
    entries.push(local, output.blob);
    offset += local.byteLength + output.size;
  });
  const size = directory.reduce((n, entry) => n + entry.byteLength, 0);
  const end = record(new Uint8Array(0), [[0x06054b50, 4], [0, 2], [0, 2], [outputs.length, 2],
    [outputs.length, 2], [size, 4], [offset, 4], [0, 2]]);
  return new Blob([...entries, ...directory, end], { type: 'application/zip' });
}

function offerZip(outputs, sums, name) {
  const link = document.createElement('a');
  const zip = zipOf(outputs, sums);
  link.href = URL.createObjectURL(zip);
  link.download = name;
  link.textContent = `Download all as ${name}`;
  offered.set(link.href, zip);
  $('zip').append(link);
}

function setBusy(change) {
  busy += change;
  document.querySelectorAll('button').forEach((button) => { button.disabled = busy > 0; });
  status.querySelector('progress').hidden = busy === 0;
}

// An action on `files`, reading of each the bytes `most` gives, while `current()` says no
// newer pick has replaced them. When its turn comes it clears the results of the one before
// first, so a refusal never leaves links that look like its own. Gives the report, or null
// for an action gone stale.
async function act(action, files, options, label, current, most) {
  setBusy(1);
  const say = (text) => { if (current()) status.querySelector('span').textContent = text; };
  say(label);
  try {
    await ready;
    const report = await ask(async () => {
      if (!current()) return null;
      clearResults();
      say(label);
      // A layout file is read now too, and goes to the worker as its text.
      const { layoutFile, ...given } = options;
      if (layoutFile) given.text = await layoutFile.text();
      return { action, options: given, inputs: await readInputs(files, most) };
    });
    if (!report || !current()) return null;
    $('message').textContent = report.message;
    if (report.findings) $('findings').textContent = report.findings.join('\n');
    if (report.board) drawBoard(report.board);
    $('notes').textContent = (report.notes || []).join('\n');
    const sizes = showOutputs(report.outputs);
    if (sizes.length) {
      say('Computing the checksums…');
      const { sums = [], message = '' } = await ask(() => ({ action: 'checksums' }));
      if (!current()) return null;
      $('message').textContent = message;
      sums.forEach((sum, k) => {
        sizes[k].textContent = `${report.outputs[k].size} bytes, CRC32 ${sum.crc32}, SHA-1 ${sum.sha1}, sum16 ${sum.sum16}, sum32 ${sum.sum32}`;
      });
      if (sums.length > 1) offerZip(report.outputs, sums, files[0].name.replace(/(.)\.[^.]*$/, '$1') + '.zip');
    }
    say(report.message ? '' :
      sizes.length ? `${sizes.length} file${sizes.length > 1 ? 's' : ''} ready: click one to save it.` : 'Done.');
    return report;
  } catch (error) {   // a file that cannot be read, deleted since it was picked say
    say('');
    if (current()) $('message').textContent = 'the page could not do this: ' + error.message;
    return null;
  } finally {
    setBusy(-1);
  }
}

// Whether the inputs named hold the files they held when this was called.
function unchanged(...inputs) {
  const seen = inputs.map((input) => picks[input]);
  return () => inputs.every((input, k) => picks[input] === seen[k]);
}

function layout() {
  return { count: +$('count').value, width: +$('width').value, swap: $('swap').checked ? 1 : 0 };
}

function refuse(message) {
  clearResults();
  $('message').textContent = message;
}

function pickedImage() {
  if ($('image').files.length === 1) return Array.from($('image').files);
  refuse('choose one image first');
  return null;
}

// Split's layout and fill, which verify takes too.
function shape() {
  return { ...layout(), fillTo: $('fill-to').value.trim(), fill: $('fill').value.trim(),
           mirror: $('mirror').checked ? 1 : 0 };
}

// The board chosen, with the layout file to read when the action's turn comes, or null for
// the plain layout; undefined after a refusal.
function boardChoice() {
  const board = $('board').value;
  if (!board) return null;
  if (board !== 'file') return { board, text: '' };
  const file = $('layout-file').files[0];
  if (file) return { board: '', layoutFile: file, name: file.name };
  refuse('pick a layout file first');
  return undefined;
}

$('board').onchange = () => {
  $('layout-file').hidden = $('board').value !== 'file';
  if (!$('board').value && $('parts').files.length) identify();   // back to the plain parts
};
$('layout-file').onchange = () => { picks.layout++; };

$('split').onclick = () => {
  const files = pickedImage();
  const board = files && boardChoice();
  if (board)
    act('board-split', files, board, `Splitting ${files[0].name} for the board…`, unchanged('image', 'layout'), whole);
  else if (files && board === null)
    act('split', files, shape(), `Splitting ${files[0].name}…`, unchanged('image'), whole);
};

$('swap-bytes').onclick = () => {
  const files = pickedImage();
  if (files) act('swap', files, {}, `Swapping ${files[0].name}…`, unchanged('image'), whole);
};

$('verify').onclick = () => {
  const image = pickedImage();
  const dumps = Array.from($('dumps').files);
  if (image && !dumps.length) refuse($('board').value ? "choose the board's dumps first" : 'choose 2 or 4 dumps first');
  if (!image || !dumps.length) return;
  const board = boardChoice();
  if (board)   // the chips' dumps by their names, no more than the module has slots for
    act('board-verify', [image[0], ...dumps.slice(0, 63)], board, `Verifying ${dumps.length} dumps of the board…`,
        unchanged('image', 'dumps', 'layout'), whole);
  else if (board === null)
    act('verify', [image[0], ...dumps], shape(), `Verifying ${dumps.length} dumps…`, unchanged('image', 'dumps'), whole);
};

$('chip').onchange = () => { $('fill-to').value = $('chip').value; };

// The order lists offer every part for every place; identify sets them, the user may too.
function showParts(files, warnings) {
  const order = $('order');
  order.replaceChildren();
  for (let k = 0; k < files.length && files.length <= 4; k++) {
    const item = document.createElement('li');
    const label = document.createElement('label');
    label.htmlFor = `lane-${k + 1}`;
    label.textContent = `Part ${k + 1}: `;
    const select = document.createElement('select');
    select.id = `lane-${k + 1}`;
    files.forEach((file, j) => select.add(new Option(`${file.name} (${file.size} bytes)`, j)));
    select.value = k;
    item.append(label, select);
    for (const warning of warnings.filter((w) => w.part === k))
      item.append(detail(warning.text, 'detail warning'));
    order.append(item);
  }
}

// Each pick of parts, and each change of the CPU, asks for a new identify; only the newest
// may set the order and lanes.
async function identify() {
  const files = Array.from($('parts').files);
  const run = ++identifies;
  const newest = () => run === identifies;
  if ($('board').value) return;   // a board's chips go by their names
  $('identify').textContent = '';
  if ([2, 4].includes(files.length)) $('count').value = files.length;
  showParts(files, []);
  const report = await act('identify', files, { cpu: $('cpu').value }, 'Identifying the parts…',
                           newest, shares(files));
  if (!report || !report.identify || !newest()) return;
  const verdict = report.identify;
  showParts(files, verdict.warnings);
  $('identify').textContent = verdict.lines.join('\n');
  if (!verdict.decided) return;
  verdict.order.forEach((part, k) => { $(`lane-${k + 1}`).value = part; });
  $('width').value = verdict.width;
  $('swap').checked = verdict.swap;
}

$('image').onchange = () => { picks.image++; };
$('dumps').onchange = () => {
  picks.dumps++;
  if ([2, 4].includes($('dumps').files.length)) $('count').value = $('dumps').files.length;
};
$('parts').onchange = () => { picks.parts++; identify(); };
$('cpu').onchange = () => { if ($('parts').files.length) identify(); };

$('merge').onclick = () => {
  const files = Array.from($('parts').files);
  if (!files.length) {
    refuse($('board').value ? "choose the board's chips first" : 'choose 2 or 4 parts first');
    return;
  }
  const board = boardChoice();
  if (board === undefined) return;
  if (board) {
    const image = (board.board || board.name.replace(/(.)\.[^.]*$/, '$1')) + '.bin';
    // No more chips are read than the module has slots for; one left out is named missing.
    const chips = files.slice(0, 64);
    act('board-merge', chips, { ...board, image }, "Merging the board's chips…", unchanged('parts', 'layout'), shares(chips));
    return;
  }
  const order = [0, 1, 2, 3].map((k) => ($(`lane-${k + 1}`) ? +$(`lane-${k + 1}`).value : 0));
  act('merge', files, { ...layout(), order }, 'Merging the parts…', unchanged('parts'), shares(files));
};

// A file dropped on a box is taken as if picked there.
for (const [box, input] of [['split-box', 'image'], ['merge-box', 'parts'], ['verify-box', 'dumps']]) {
  $(box).addEventListener('dragover', (event) => { event.preventDefault(); $(box).classList.add('over'); });
  $(box).addEventListener('dragleave', () => $(box).classList.remove('over'));
  $(box).addEventListener('drop', (event) => {
    event.preventDefault();
    $(box).classList.remove('over');
    $(input).files = event.dataTransfer.files;
    $(input).dispatchEvent(new Event('change'));
  });
}
