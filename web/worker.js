// The engine's side of the page, off the main thread: it puts the picked files' bytes into
// the WebAssembly module, calls it and hands back its report with the outputs' bytes.
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

// The page reads the files on its own thread (WebKit lets no worker of a page opened from
// disk read a file) and hands their bytes over; they go into slots from 0, after the module
// has forgotten the inputs of the action before.
function load(inputs) {
  wasm.pageForgetInputs();
  inputs.forEach((input, slot) => {
    const at = withText(input.name, (name) => wasm.pageInput(slot, name, input.size, input.bytes.byteLength));
    if (at) memory(at, input.bytes.byteLength).set(new Uint8Array(input.bytes));   // null past the last slot
  });
}

function run({ action, inputs, options: o }) {
  load(inputs);
  const shape = (call, count) => withText(o.fillTo, (fillTo) => withText(o.fill, (fill) =>
    call(count, o.width, o.swap, fillTo, fill, o.mirror)));
  if (action === 'split')
    shape(wasm.pageSplit, o.count);
  else if (action === 'verify')
    shape(wasm.pageVerify, inputs.length - 1);
  else if (action === 'swap')
    wasm.pageSwap();
  else if (action === 'board-split')
    withText(o.board, (board) => withText(o.text, (text) => wasm.pageBoardSplit(board, text)));
  else if (action === 'board-merge')
    withText(o.board, (board) => withText(o.text, (text) => withText(o.image, (name) =>
      wasm.pageBoardMerge(board, text, inputs.length, name))));
  else if (action === 'board-verify')
    withText(o.board, (board) => withText(o.text, (text) => wasm.pageBoardVerify(board, text, inputs.length - 1)));
  else if (action === 'identify')
    withText(o.cpu, (cpu) => wasm.pageIdentify(inputs.length, cpu));
  else
    wasm.pageMerge(inputs.length, ...o.order, o.width, o.swap);
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
      report = { limit: wasm.pageReadLimit(), cpus: JSON.parse(readText(wasm.pageCpuHints())),
                 boards: JSON.parse(readText(wasm.pageBoards())) };
    } else {
      report = event.data.action === 'checksums' ? checksums() : run(event.data);
    }
  } catch (error) {
    // A module that trapped, out of memory say, may be left in any state: start it afresh.
    report = { message: 'the page could not do this: ' + error.message, outputs: [] };
    await start().catch(() => {});
  }
  postMessage(report);
};
