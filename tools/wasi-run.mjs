// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a wasm32-wasi program under Node's WASI: node wasi-run.mjs PROGRAM.wasm [ARG...].
// The whole file system is open to it, as to a native test, and so is the environment.
import { readFile } from 'node:fs/promises';
import { WASI } from 'node:wasi';

const [program, ...args] = process.argv.slice(2);
const wasi = new WASI({ version: 'preview1', args: [program, ...args], env: process.env,
                        preopens: { '/': '/' }, returnOnExit: true });
const module = await WebAssembly.compile(await readFile(program));
process.exitCode = wasi.start(await WebAssembly.instantiate(module, wasi.getImportObject()));
