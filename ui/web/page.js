// SPDX-License-Identifier: GPL-3.0-or-later
// The page's half of the web front end (ui/web/page.h): the DOM functions the C++ calls by
// name, and the page's events handed to its exports by row. No rule of the window lives
// here: what a key, an edit or a click means is decided in the C++.

const utf8 = new TextDecoder();
const utf16 = new TextDecoder('utf-16le');
const encoder = new TextEncoder();
const nodes = new Map(); // row -> element; -1 the form, -2 its window
const rows = new Map(); // element -> row
const channel = new MessageChannel();
let wasm;
let dialog;
let posted = 0;
let canvas;
const sheet = new CSSStyleSheet();

const memory = () => wasm.memory.buffer;
const text = (at, bytes) => utf8.decode(new Uint8Array(memory(), at, bytes));
const text16 = (at, units) => utf16.decode(new Uint8Array(memory(), at, units * 2));
const ints = (at, count) => new Int32Array(memory(), at, count);
const isInput = (element) => element.localName === 'input';

// Into a slot of the C++'s, which may grow the memory: UTF-8, or UTF-16 as the DOM keeps it.
function putBytes(slot, bytes) {
  const at = wasm.web_reserve(slot, bytes.length);
  new Uint8Array(memory(), at, bytes.length).set(bytes);
}
export function put(slot, value) {
  const bytes = encoder.encode(value);
  putBytes(slot, bytes);
  return bytes.length;
}
function put16(slot, value) {
  const units = new Uint16Array(value.length);
  for (let i = 0; i < value.length; ++i) units[i] = value.charCodeAt(i);
  putBytes(slot, new Uint8Array(units.buffer));
  return value.length;
}

const page = {
  // Its controls are the form's children in the table's order, known by row from then on.
  form(title, titleBytes, css, cssBytes, html, htmlBytes) {
    document.title = text(title, titleBytes);
    sheet.replaceSync(text(css, cssBytes));
    document.adoptedStyleSheets = [sheet];
    document.body.insertAdjacentHTML('afterbegin', text(html, htmlBytes));
    const window = document.body.firstElementChild;
    const form = window.firstElementChild;
    [[-2, window], [-1, form], ...[...form.children].entries()].forEach(([row, element]) => {
      nodes.set(row, element);
      rows.set(element, row);
    });
    listen(form);
  },
  element(row, tag, tagBytes) {
    const element = nodes.get(-1).appendChild(document.createElement(text(tag, tagBytes)));
    nodes.set(row, element);
    rows.set(element, row);
  },
  attribute(row, name, nameBytes, value, valueBytes) {
    nodes.get(row).setAttribute(text(name, nameBytes), text(value, valueBytes));
  },
  style(row, name, nameBytes, value, valueBytes) {
    nodes.get(row).style.setProperty(text(name, nameBytes), text(value, valueBytes));
  },
  set_text(row, at, bytes) {
    const element = nodes.get(row);
    element[isInput(element) ? 'value' : 'textContent'] = text(at, bytes);
  },
  text(row) {
    const element = nodes.get(row);
    return put(0, isInput(element) ? element.value : element.textContent);
  },
  set_value16(row, at, units) {
    nodes.get(row).value = text16(at, units);
  },
  value16(row, selection) {
    const field = nodes.get(row);
    ints(selection, 2).set([field.selectionStart, field.selectionEnd]);
    return put16(0, field.value);
  },
  set_selection(row, start, end) {
    nodes.get(row).setSelectionRange(start, end);
  },
  select(row) {
    nodes.get(row).select();
  },
  insert16(row, at, units) {
    nodes.get(row).focus();
    document.execCommand('insertText', false, text16(at, units));
  },
  focus(row) {
    nodes.get(row).focus();
  },
  has_focus(row) {
    return document.activeElement === nodes.get(row) && document.hasFocus();
  },
  measure(font, fontBytes, at, bytes, extent) {
    const context = (canvas ??= document.createElement('canvas')).getContext('2d');
    context.font = text(font, fontBytes);
    const line = context.measureText(text(at, bytes));
    const height = line.fontBoundingBoxAscent + line.fontBoundingBoxDescent;
    ints(extent, 2).set([Math.ceil(line.width), Math.ceil(height)]);
  },
  viewport(size) {
    const { clientWidth, clientHeight } = document.documentElement;
    ints(size, 2).set([clientWidth, clientHeight]);
  },
  // A new text node of the same text is a change a live region reports.
  announce(row) {
    const region = nodes.get(row);
    region.replaceChildren(region.textContent);
  },
  message(at, bytes, title, titleBytes) {
    dialog = document.createElement('dialog');
    dialog.setAttribute('role', 'alertdialog');
    dialog.setAttribute('aria-labelledby', 'message-title');
    dialog.setAttribute('aria-describedby', 'message-text');
    const heading = dialog.appendChild(document.createElement('h1'));
    heading.id = 'message-title';
    heading.textContent = text(title, titleBytes);
    const body = dialog.appendChild(document.createElement('p'));
    body.id = 'message-text';
    body.textContent = text(at, bytes);
    const buttons = dialog.appendChild(document.createElement('form'));
    buttons.method = 'dialog';
    buttons.appendChild(document.createElement('button')).textContent = 'OK';
    // Its one button keeps the focus: Tab would leave the page for the browser's own bar.
    dialog.addEventListener('keydown', (event) => {
      if (event.key === 'Tab') event.preventDefault();
    });
    dialog.addEventListener('close', () => {
      dialog.remove();
      wasm.web_closed();
    });
    document.body.append(dialog);
    dialog.showModal();
  },
  post() {
    ++posted;
    channel.port2.postMessage(0);
  },
  decimal_separator() {
    const parts = new Intl.NumberFormat(navigator.language).formatToParts(1.5);
    return put(0, parts.find((part) => part.type === 'decimal').value);
  },
  remove() {
    nodes.get(-2)?.remove();
    dialog?.remove();
    document.adoptedStyleSheets = [];
    nodes.clear();
    rows.clear();
  },
};

// Every event of the form goes to the C++ with the row of its element; true back means
// that the page's own default action is skipped.
function listen(form) {
  const row = (element) => rows.get(element) ?? -1;
  const on = (type, handler) =>
    form.addEventListener(type, (event) => {
      if (handler(event, row(event.target))) event.preventDefault();
    });
  on('keydown', (event, at) => !event.ctrlKey && !event.altKey && !event.metaKey &&
    wasm.web_keydown(at, put(0, event.key), event.shiftKey));
  on('beforeinput', (event, at) => wasm.web_beforeinput(at, put(0, event.inputType),
    put16(1, event.data ?? event.dataTransfer?.getData('text/plain') ?? '')));
  on('input', (event, at) => {
    if (!event.isComposing) wasm.web_input(at);
  });
  on('compositionend', (event, at) => wasm.web_input(at));
  on('mousedown', (event, at) => wasm.web_mousedown(at));
  on('focusin', (event, at) => wasm.web_focus(at));
  on('focusout', (event, at) => wasm.web_blur(at, row(event.relatedTarget)));
  on('click', (event, at) => wasm.web_click(at));
}

channel.port1.onmessage = () => {
  --posted;
  wasm.web_posted();
};
// Resolves once nothing the form posted waits any more: for a test's driver.
export async function idle() {
  while (posted > 0) await new Promise((resolve) => setTimeout(resolve));
}
addEventListener('resize', () => wasm?.web_resized());

// The system interface the C library asks for: what it writes goes to the console; the
// rest it does not need on a page.
export const wasi = new Proxy({
  fd_write(fd, vectors, count, written) {
    const words = new Uint32Array(memory(), vectors, count * 2);
    let line = '';
    let bytes = 0;
    for (let i = 0; i < count; ++i) {
      line += text(words[2 * i], words[2 * i + 1]);
      bytes += words[2 * i + 1];
    }
    new Uint32Array(memory(), written, 1)[0] = bytes;
    console.error(line);
    return 0;
  },
  proc_exit(code) {
    throw new Error(`exit ${code}`);
  },
}, { get: (known, name) => known[name] ?? (() => 52) }); // ENOSYS

// Instantiates a module, its bytes given, against the page and `more` imports, by module name:
// at once, on this thread, so that a start waits for no trip to another thread and back. A
// browser that will not compile that much at once (Chromium before 115: 4 KB) is waited for.
export async function load(bytes, more = {}) {
  const imports = { page, ...more };
  let instance;
  try {
    instance = new WebAssembly.Instance(new WebAssembly.Module(bytes), imports);
  } catch (error) {
    if (!(error instanceof RangeError)) throw error;
    ({ instance } = await WebAssembly.instantiate(bytes, imports));
  }
  wasm = instance.exports;
  return instance;
}

// The site's page holds the window's module, written into it: started here, then the files
// kept for offline use. A test's page holds none, and loads a module of its own.
const module = document.getElementById('module');
if (module) {
  const text = module.textContent;
  const bytes = Uint8Array.fromBase64?.(text) ?? Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
  const { exports } = await load(bytes, { wasi_snapshot_preview1: wasi });
  exports._initialize();
  exports.web_start();
  performance.mark('styrmark-ready');
  navigator.serviceWorker?.register('sw.js');
}
