// SPDX-License-Identifier: GPL-3.0-or-later
// The page's half of the web driver (web_driver.cpp): runs the table's module with the
// window's own page.js, and hands each input to the runner (tests/web/check.mjs), which
// gives it through the DevTools protocol as trusted input while the module is suspended.
import { idle, load, put } from './page.js';

const input = (...request) => window.styrmarkInput(...request); // the runner's
const params = new URLSearchParams(location.search); // the environment
const env = [...params].map(([name, value]) => `${name}=${value}`);
const utf8 = new TextDecoder();
let memory;

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

// Fixed: its size is not the user's to change, nor does it fill the viewport.
function placement(values) {
  const window = document.getElementById('window').getBoundingClientRect();
  const { clientWidth, clientHeight } = document.documentElement;
  ints(values, [window.x, window.y, window.width, window.height, clientWidth, clientHeight,
    getComputedStyle(document.getElementById('form')).resize !== 'none',
    window.width >= clientWidth && window.height >= clientHeight]);
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
  read(what, at, bytes, values) {
    const target = element(at, bytes);
    const style = target && getComputedStyle(target);
    if (what === 0 && target) ints(values, [target.offsetLeft, target.offsetTop, target.offsetWidth, target.offsetHeight]);
    if (what === 4) return placement(values);
    return [target !== null, target?.style.backgroundColor ? rgb(style.backgroundColor) : -1,
      what === 2 && rgb(style.color), target?.matches(':active'), 0, what === 5 && rgb(style.backgroundColor)][what];
  },
};

// What GoogleTest asks of the system: its name, the environment, a clock, output.
function listed(list) {
  const bytes = list.map((item) => new TextEncoder().encode(`${item}\0`));
  const sizes = (count, size) => {
    view().setUint32(count, list.length, true);
    view().setUint32(size, bytes.reduce((sum, item) => sum + item.length, 0), true);
  };
  const strings = (offsets, buffer) => bytes.forEach((item, i) => {
    view().setUint32(offsets + 4 * i, buffer, true);
    new Uint8Array(memory.buffer, buffer, item.length).set(item);
    buffer += item.length;
  });
  return [(...a) => sizes(...a) ?? 0, (...a) => strings(...a) ?? 0];
}
const [args_sizes_get, args_get] = listed(['window_test']);
const [environ_sizes_get, environ_get] = listed(env);
let output = '';
const wasi = new Proxy({ args_sizes_get, args_get, environ_sizes_get, environ_get,
  clock_time_get(id, precision, at) {
    view().setBigUint64(at, BigInt(Math.round((performance.timeOrigin + performance.now()) * 1e6)), true);
    return 0;
  },
  fd_write(fd, vectors, count, written) {
    let bytes = 0;
    for (let i = 0; i < count; ++i) {
      const length = view().getUint32(vectors + 8 * i + 4, true);
      output += text(view().getUint32(vectors + 8 * i, true), length);
      bytes += length;
    }
    const lines = output.split('\n');
    output = lines.pop();
    lines.forEach((line) => console.log(line));
    view().setUint32(written, bytes, true);
    return 0;
  },
  fd_prestat_get: () => 8, // EBADF: no folders open to it
  proc_exit(code) {
    throw new Error(`exit ${code}`);
  },
}, { get: (known, name) => known[name] ?? (() => 52) }); // ENOSYS

const module = await (await fetch('window_test.wasm')).arrayBuffer();
const { exports } = await load(module, { driver, wasi_snapshot_preview1: wasi });
memory = exports.memory;
let exitCode = 1;
try {
  exports._initialize();
  exitCode = params.has('wrong_kind') ? exports.wrong_kind()
    : await WebAssembly.promising(exports.__main_void)();
} catch (error) {
  console.log(`${output}\n${error}\n${error.stack}`);
}
await input('done', exitCode);
