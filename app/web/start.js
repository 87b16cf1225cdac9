// SPDX-License-Identifier: GPL-3.0-or-later
// The page's entry: the window's module started, then the files kept for offline use.
import { load, wasi } from './page.js';

const { exports } = await load('styrmark.wasm', { wasi_snapshot_preview1: wasi });
exports._initialize();
exports.web_start();
performance.mark('styrmark-ready');
navigator.serviceWorker?.register('sw.js');
