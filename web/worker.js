// The engine's side of the page, off the main thread: it reads the picked files into the
// WebAssembly module, calls it and hands back its report with the outputs' bytes.
'use strict';
let wasm = null;
let moduleBytes = null;

async function start() {
  const { instance } = await WebAssembly.instantiate(moduleBytes, {});
  wasm = instance.exports;
  wasm._initialize();
}

function memory(at, count) {
  return new Uint8Array(wasm.memory.buffer, at, count);
}

function withText(text, use) {
  const bytes = new TextEncoder().encode(text + '\0');
  const at = wasm.pageAlloc(bytes.length);
  memory(at, bytes.length).set(bytes);
  try { return use(at); } finally { wasm.pageFree(at); }
}

function readText(at) {
  const bytes = new Uint8Array(wasm.memory.buffer);
  let end = at;
  while (bytes[end]) end++;
  return new TextDecoder().decode(bytes.subarray(at, end));
}

// No command takes more than `most` bytes of a file, so no more are read; the module still
// learns the file's whole size. The file streams straight into the module's memory, which
// spares the browser a fresh buffer as big as the file.
async function load(slot, file, most) {
  const count = Math.min(file.size, most);
  const at = withText(file.name, (name) => wasm.pageInput(slot, name, file.size, count));
  const reader = file.slice(0, count).stream().getReader();
  for (let filled = 0; ;) {
    const { done, value } = await reader.read();
    if (done) break;
    memory(at + filled, value.length).set(value);
    filled += value.length;
  }
}

async function run({ action, files, options: o }) {
  const limit = wasm.pageReadLimit();
  const image = action === 'split' || action === 'swap';
  const loaded = image ? 1 : Math.min(files.length, 4);
  for (let k = 0; k < loaded; k++)
    await load(k, files[k], image ? (files[k].size > limit ? 0 : limit) : Math.floor(limit / files.length));
  if (action === 'split')
    withText(o.fillTo, (fillTo) => withText(o.fill, (fill) =>
      wasm.pageSplit(o.count, o.width, o.swap, fillTo, fill, o.mirror)));
  else if (action === 'swap')
    wasm.pageSwap();
  else if (action === 'identify')
    withText(o.cpu, (cpu) => wasm.pageIdentify(files.length, cpu));
  else
    wasm.pageMerge(files.length, ...o.order, o.width, o.swap);
  const report = JSON.parse(readText(wasm.pageReport()));
  report.outputs.forEach((output, k) => {
    output.blob = new Blob([memory(wasm.pageOutput(k), wasm.pageOutputSize(k))],
                           { type: 'application/octet-stream' });
  });
  return report;
}

// Summing takes longer than splitting, so the page offers the outputs first and asks for
// their checksums next.
function checksums() {
  const sums = JSON.parse(readText(wasm.pageChecksums()));
  wasm.pageDropOutputs();
  return { sums };
}

onmessage = async (event) => {
  let report;
  try {
    if (event.data.module) {
      moduleBytes = event.data.module;
      await start();
      report = { ready: true, cpus: JSON.parse(readText(wasm.pageCpuHints())) };
    } else {
      report = event.data.action === 'checksums' ? checksums() : await run(event.data);
    }
  } catch (error) {
    // A module that trapped, out of memory say, may be left in any state: start it afresh.
    report = { message: 'the page could not do this: ' + error.message, outputs: [] };
    await start().catch(() => {});
  }
  postMessage(report);
};
