// SPDX-License-Identifier: GPL-3.0-or-later
// The page's half of the web driver (web_driver.cpp): runs the table's module with the
// window's own page.js, and hands each input to the runner (tests/web/check.mjs), which
// gives it through the DevTools protocol as trusted input while the module is suspended.
import { idle, load, put } from '../../../site/page.js';

const input = (...request) => window.styrmarkInput(...request); // the runner's
const params = new URLSearchParams(location.search);
const args = ['window_test', ...params.getAll('arg')];
const env = [`STYRMARK_EXPECTED_DECIMAL_SEPARATOR=${params.get('separator')}`];
const utf8 = new TextDecoder();
let memory;
let exitCode;
const output = { 1: '', 2: '' };

const view = () => new DataView(memory.buffer);
const text = (at, bytes) => utf8.decode(new Uint8Array(memory.buffer, at, bytes));
const text16 = (at, units) => new TextDecoder('utf-16le').decode(
  new Uint8Array(memory.buffer, at, units * 2));
const element = (at, bytes) => document.getElementById(text(at, bytes));
const ints = (at, values) => new Int32Array(memory.buffer, at, values.length).set(values);
const rgb = (colour) => colour.match(/\d+/g).slice(0, 3).reduce((sum, part) => sum * 256 + +part, 0);
function centre(target) {
  const box = target.getBoundingClientRect();
  return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
}

// In the order of the table's Key.
const keys = [
  { key: 'Tab', code: 'Tab', windowsVirtualKeyCode: 9 },
  { key: 'Tab', code: 'Tab', windowsVirtualKeyCode: 9, modifiers: 8 },
  { key: 'Enter', code: 'Enter', windowsVirtualKeyCode: 13, text: '\r' },
  { key: 'Enter', code: 'NumpadEnter', windowsVirtualKeyCode: 13, text: '\r', location: 3 },
  { key: ' ', code: 'Space', windowsVirtualKeyCode: 32, text: ' ' },
  { key: 'Backspace', code: 'Backspace', windowsVirtualKeyCode: 8 },
  { key: 'End', code: 'End', windowsVirtualKeyCode: 35 },
  { key: 'a', code: 'KeyA', windowsVirtualKeyCode: 65, modifiers: 2 },
  { key: 'c', code: 'KeyC', windowsVirtualKeyCode: 67, modifiers: 2 },
  { key: 'z', code: 'KeyZ', windowsVirtualKeyCode: 90, modifiers: 2 },
];
const controlKeys = { '\b': keys[5], '\t': keys[0], '\r': keys[2],
                      '\x1b': { key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27 } };
const typed = (character) => controlKeys[character] ??
  { key: character, text: character, unmodifiedText: character };

const suspending = (request) => new WebAssembly.Suspending(request);
const driver = {
  key: suspending((key) => input('keys', [keys[key]])),
  type: suspending((at, units) => input('keys', [...text16(at, units)].map(typed))),
  click: suspending((at, bytes) => input('click', centre(element(at, bytes)))),
  put_in: suspending(async (route, at, bytes, incoming, incomingBytes) => {
    const value = text(incoming, incomingBytes);
    const target = centre(element(at, bytes));
    await navigator.clipboard.writeText(value);
    await input('put', route, target, value);
  }),
  other_page: suspending(() => input('other')),
  activate: suspending(() => input('activate')),
  settle: suspending(idle),
  label_of: suspending(async (at, bytes) => put(0, await input('label', text(at, bytes)))),
  clipboard: suspending(async () => put(0, await navigator.clipboard.readText())),
  title: () => put(0, document.querySelector('title').textContent),
  focused: () => put(0, document.hasFocus() ? document.activeElement.id : ''),
  geometry(at, bytes, box) {
    const target = element(at, bytes);
    if (target) ints(box, [target.offsetLeft, target.offsetTop, target.offsetWidth, target.offsetHeight]);
    return target !== null;
  },
  background(at, bytes) {
    const target = element(at, bytes);
    return target.style.backgroundColor ? rgb(getComputedStyle(target).backgroundColor) : -1;
  },
  colour: (at, bytes) => rgb(getComputedStyle(element(at, bytes)).color),
  is_down: (at, bytes) => element(at, bytes).matches(':active'),
  // Fixed: its size is not the user's to change, nor does it fill the viewport.
  placement(values) {
    const window = document.getElementById('window').getBoundingClientRect();
    const { clientWidth, clientHeight } = document.documentElement;
    ints(values, [window.x, window.y, window.width, window.height, clientWidth, clientHeight,
      getComputedStyle(document.getElementById('form')).resize !== 'none',
      window.width >= clientWidth && window.height >= clientHeight]);
  },
};

// What GoogleTest asks of the system: its arguments and environment, a clock, output.
class Exit extends Error {}
function strings(list, offsets, buffer) {
  for (const item of list) {
    const bytes = new TextEncoder().encode(`${item}\0`);
    view().setUint32(offsets, buffer, true);
    new Uint8Array(memory.buffer, buffer, bytes.length).set(bytes);
    offsets += 4;
    buffer += bytes.length;
  }
  return 0;
}
function sizes(list, count, size) {
  view().setUint32(count, list.length, true);
  view().setUint32(size, list.reduce((sum, item) => sum + new TextEncoder().encode(item).length + 1, 0), true);
  return 0;
}
const wasi = new Proxy({
  args_sizes_get: (count, size) => sizes(args, count, size),
  args_get: (offsets, buffer) => strings(args, offsets, buffer),
  environ_sizes_get: (count, size) => sizes(env, count, size),
  environ_get: (offsets, buffer) => strings(env, offsets, buffer),
  clock_time_get(id, precision, at) {
    view().setBigUint64(at, BigInt(Math.round((performance.timeOrigin + performance.now()) * 1e6)), true);
    return 0;
  },
  fd_write(fd, vectors, count, written) {
    let bytes = 0;
    for (let i = 0; i < count; ++i) {
      const at = view().getUint32(vectors + 8 * i, true);
      const length = view().getUint32(vectors + 8 * i + 4, true);
      output[fd] += text(at, length);
      bytes += length;
    }
    const lines = output[fd].split('\n');
    output[fd] = lines.pop();
    for (const line of lines) console.log(line);
    view().setUint32(written, bytes, true);
    return 0;
  },
  fd_prestat_get: () => 8, // EBADF: no folders open to it
  proc_exit(code) {
    exitCode = code;
    throw new Exit();
  },
}, { get: (known, name) => known[name] ?? (() => 52) }); // ENOSYS

const { exports } = await load('window_test.wasm', { driver, wasi_snapshot_preview1: wasi });
memory = exports.memory;
try {
  exports._initialize();
  exitCode = await WebAssembly.promising(exports.__main_void)();
} catch (error) {
  if (!(error instanceof Exit)) console.log(`${error}\n${error.stack}`);
}
console.log(output[1] + output[2]);
await input('done', exitCode ?? 1);
