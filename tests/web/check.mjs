// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the site's checks in Debian's Chromium: node check.mjs table BUILD LOCALE SEPARATOR
// runs the behaviour table inside its page, giving each input it asks for as trusted
// input through the DevTools protocol; node check.mjs wrong-kind BUILD, the table's rule
// that death tests cannot check there; node check.mjs site BUILD checks what only the
// web has. BUILD is the web build's folder (build/web).
import { spawn } from 'node:child_process';
import { mkdir, readFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const require = createRequire(import.meta.url);

// Serves a folder on a free port of the loopback; resolves to its address and the server.
export async function serve(folder) {
  const server = spawn('python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1',
    '--directory', folder, '0'], { stdio: ['ignore', 'pipe', 'ignore'] });
  const port = await new Promise((resolve) => server.stdout.on('data', (data) => {
    const found = /port (\d+)/.exec(String(data));
    if (found) resolve(found[1]);
  }));
  return { origin: `http://127.0.0.1:${port}`, server };
}

// Debian's Chromium, never a downloaded one; Playwright gives it a fresh profile
// (--user-data-dir) of its own each time.
export const launch = () => chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

// Trusted input for the table's driver (tests/ui/web/driver.js), by request.
function inputs(context, page, cdp, finished) {
  let other;
  const key = async (event) => {
    await cdp.send('Input.dispatchKeyEvent', { type: event.text ? 'keyDown' : 'rawKeyDown', ...event });
    await cdp.send('Input.dispatchKeyEvent', { ...event, type: 'keyUp', text: undefined });
  };
  const mouse = async ({ x, y }, button = 'left') => {
    await cdp.send('Input.dispatchMouseEvent', { type: 'mouseMoved', x, y });
    for (const type of ['mousePressed', 'mouseReleased'])
      await cdp.send('Input.dispatchMouseEvent', { type, x, y, button, clickCount: 1 });
  };
  const drag = async ({ x, y }, text) => {
    const data = { items: [{ mimeType: 'text/plain', data: text }], dragOperationsMask: 1 };
    for (const type of ['dragEnter', 'dragOver', 'drop'])
      await cdp.send('Input.dispatchDragEvent', { type, x, y, data });
  };
  // In the order of the table's Route.
  const routes = [
    () => key({ key: 'v', code: 'KeyV', windowsVirtualKeyCode: 86, modifiers: 2 }),
    () => key({ key: 'Insert', code: 'Insert', windowsVirtualKeyCode: 45, modifiers: 8 }),
    // The menu opened from the keyboard, at the cursor. Headless Chromium draws no menu:
    // its Paste is the editor's paste command.
    async () => {
      await key({ key: 'ContextMenu', code: 'ContextMenu', windowsVirtualKeyCode: 93 });
      await cdp.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', commands: ['paste'] });
    },
    drag,
    async (at, text) => {
      await cdp.send('Input.imeSetComposition', { text, selectionStart: text.length, selectionEnd: text.length });
      await cdp.send('Input.insertText', { text });
    },
  ];
  const requests = {
    keys: async (events) => { for (const event of events) await key(event); },
    click: mouse,
    put: (route, at, text) => routes[route](at, text),
    other: async () => {
      other = await context.newPage();
      await other.bringToFront();
    },
    activate: async () => {
      await other?.close();
      other = undefined;
      await page.bringToFront();
    },
    // The caption the accessibility tree names the element by, from aria-labelledby.
    label: async (id) => {
      const { root } = await cdp.send('DOM.getDocument');
      const { nodeId } = await cdp.send('DOM.querySelector', { nodeId: root.nodeId, selector: `#${id}` });
      const { nodes } = await cdp.send('Accessibility.getPartialAXTree', { nodeId, fetchRelatives: false });
      const source = (nodes[0].name?.sources ?? []).find((each) =>
        each.attribute === 'aria-labelledby' && each.attributeValue && !each.superseded);
      const ids = (source?.attributeValue.relatedNodes ?? []).map((node) => node.idref);
      return ids.find((each) => each !== id) ?? '';
    },
    done: finished,
  };
  return (source, request, ...args) => requests[request](...args);
}

async function table(build, locale, separator) {
  const { origin, server } = await serve(build);
  const browser = await launch();
  try {
    const context = await browser.newContext({ locale, viewport: { width: 800, height: 600 } });
    await context.grantPermissions(['clipboard-read', 'clipboard-write'], { origin });
    const page = await context.newPage();
    const cdp = await context.newCDPSession(page);
    // Focus follows the tab in front, as in a browser window, not kept for every tab.
    await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: false });
    page.on('console', (message) => console.log(message.text()));
    page.on('pageerror', (error) => console.log(`page error: ${error.message}`));
    let finished;
    const exitCode = new Promise((resolve) => { finished = resolve; });
    await page.exposeBinding('styrmarkInput', inputs(context, page, cdp, finished));
    const query = new URLSearchParams({ STYRMARK_EXPECTED_DECIMAL_SEPARATOR: separator,
      GTEST_FILTER: process.env.GTEST_FILTER ?? '*' });
    await page.goto(`${origin}/tests/ui/web/table.html?${query}`);
    return await exitCode;
  } finally {
    await browser.close();
    server.kill();
  }
}

// A control of the wrong kind stops the program, in the page too, where the table's death
// tests cannot run: the module says which on standard error (the console) and traps.
async function wrongKind(build) {
  const { origin, server } = await serve(build);
  const browser = await launch();
  try {
    const page = await browser.newPage();
    const lines = [];
    page.on('console', (message) => lines.push(...message.text().split('\n')));
    let finished;
    const done = new Promise((resolve) => { finished = resolve; });
    await page.exposeBinding('styrmarkInput', finished);
    await page.goto(`${origin}/tests/ui/web/table.html?wrong_kind`);
    await done;
    const problems = [['styrmark: SelectAll: Label2', 'no line on standard error'],
      ['RuntimeError: unreachable', 'the module went on']].filter(([line]) => !lines.includes(line));
    console.log(`${problems.length ? 'FAILED' : 'passed'} wrong kind ${problems.map(([, problem]) => problem).join(', ')}`);
    return problems.length ? 1 : 0;
  } finally {
    await browser.close();
    server.kill();
  }
}

// What only the web has, each a check on the site as served.
export const ready = (page) => page.waitForFunction(() => performance.getEntriesByName('styrmark-ready').length);
const checks = {
  // Names, the hint and the live region as screen readers get them; axe finds nothing serious.
  async accessible(page) {
    const { nodes } = await (await page.context().newCDPSession(page)).send('Accessibility.getFullAXTree');
    const named = (role, name) => nodes.find((node) => node.role?.value === role && node.name?.value === name);
    const field = named('textbox', 'Mina Koordinater Lat Long Min latitud');
    if (!named('status', 'Kurs och Distans') || !named('button', 'Kurs o Distans till Styrmark') ||
        field?.description?.value !== 'Du måste skriva koordinater enl. 59:04:30')
      return 'a name, the hint or the live region is missing';
    await page.evaluate(await readFile(require.resolve('axe-core/axe.min.js'), 'utf8'));
    const { violations } = await page.evaluate(() => window.axe.run());
    return violations.filter((each) => ['serious', 'critical'].includes(each.impact)).map((each) => each.id).join(' ');
  },
  // The page's own modal box: titled, one OK, the focus kept in it and then given back.
  async message(page) {
    await page.keyboard.press('Tab');
    await page.keyboard.type('17');
    await page.keyboard.press('Tab');
    const box = page.getByRole('alertdialog', { name: 'Styrmark' });
    await box.waitFor();
    await page.keyboard.press('Tab');
    const inBox = await page.evaluate(() => document.activeElement.textContent === 'OK' &&
      document.querySelectorAll('dialog button').length === 1);
    await page.keyboard.press('Enter');
    // Once closed it leaves the accessibility tree, and the page only then goes on.
    await page.waitForFunction(() => !document.querySelector('dialog'));
    const back = await page.evaluate(() => [document.activeElement.id, document.activeElement.selectionStart]);
    return inBox && back.join() === 'Text2,2' ? '' : `focus ${inBox} then ${back}`;
  },
  // Portrait and landscape phones: no sideways scrolling, nothing cut, fields' text large
  // enough that the phone does not zoom in on them, and a tap on the button computes.
  async phone(page, { origin, shots }) {
    const problems = [];
    for (const [width, height] of [[360, 640], [640, 360]]) {
      const context = await page.context().browser().newContext({ locale: 'sv-SE',
        viewport: { width, height }, isMobile: true, hasTouch: true, deviceScaleFactor: 2 });
      const phone = await context.newPage();
      await phone.goto(`${origin}/site/`);
      await ready(phone);
      await phone.tap('#Command1');
      problems.push(...await phone.evaluate(() => {
        const { scrollWidth, clientWidth } = document.documentElement;
        const window = document.getElementById('window').getBoundingClientRect();
        const outside = (box) => box.left < Math.max(window.left, 0) - 0.5 || box.top < window.top - 0.5 ||
          box.right > Math.min(window.right, clientWidth) + 0.5 || box.bottom > window.bottom + 0.5;
        return [
          ...(scrollWidth > clientWidth ? ['scrolls sideways'] : []),
          ...[...document.querySelectorAll('#form > :not([hidden])')].filter((control) =>
            outside(control.getBoundingClientRect()) || control.scrollWidth > control.clientWidth)
            .map((control) => `${control.id} cut`),
          ...[...document.querySelectorAll('input')].filter((field) =>
            parseFloat(getComputedStyle(field).fontSize) < 16).map((field) => `${field.id} small`),
          ...(document.getElementById('Label2').textContent.startsWith('Kurs 151') ? [] : ['no result']),
        ];
      }));
      await phone.screenshot({ path: `${shots}/styrmark-web-${width}x${height}.png` });
      await context.close();
    }
    return problems.join(' ');
  },
  // Installable, and after one visit it starts and computes with no network at all.
  async offline(page, { server, shots }) {
    const { installabilityErrors } = await (await page.context().newCDPSession(page)).send('Page.getInstallabilityErrors');
    await page.evaluate(() => navigator.serviceWorker.ready);
    server.kill();
    await page.context().setOffline(true);
    await page.reload();
    await ready(page);
    await page.click('#Command1');
    const line = await page.textContent('#Label2');
    await page.screenshot({ path: `${shots}/styrmark-web.png` });
    // Test contexts are private windows, which Chromium never installs from.
    const errors = installabilityErrors.map((each) => each.errorId).filter((id) => id !== 'in-incognito');
    return [...errors, line.startsWith('Kurs 151') ? '' : line].join(' ').trim();
  },
};

async function site(build) {
  const shots = `${build}/screenshots`;
  await mkdir(shots, { recursive: true });
  const { origin, server } = await serve(build);
  const browser = await launch();
  let failed = 0;
  try {
    for (const [name, check] of Object.entries(checks)) {
      const context = await browser.newContext({ locale: 'sv-SE', viewport: { width: 800, height: 600 } });
      const page = await context.newPage();
      const foreign = [];
      page.on('request', (request) => request.url().startsWith(origin) || foreign.push(request.url()));
      page.on('console', (message) => foreign.push(`console: ${message.text()}`));
      await page.goto(`${origin}/site/`);
      await ready(page);
      const problem = [await check(page, { origin, server, shots }), ...foreign].join(' ').trim();
      console.log(`${problem ? 'FAILED' : 'passed'} ${name} ${problem}`);
      failed += problem ? 1 : 0;
      await context.close();
    }
  } finally {
    await browser.close();
    server.kill();
  }
  console.log(`${Object.keys(checks).length - failed} passed, ${failed} failed`);
  return failed ? 1 : 0;
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [mode, build, ...rest] = process.argv.slice(2);
  process.exitCode = await ({ table, 'wrong-kind': wrongKind }[mode] ?? site)(build, ...rest);
}
