// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the site against a bare page with the same controls and no WebAssembly, in
// Debian's headless Chromium: node startup.mjs BUILD [ROUNDS]. Each round opens both in a
// fresh browser profile (a first visit) and then again (a return, from the caches), and
// takes the time from navigation to the form ready for input: Text1 focused with its text
// selected, the page's own mark. The bare page is the live page's DOM and style written out,
// with a script in it, as the site's is, that only focuses and selects.
import { mkdir, readdir, stat, writeFile } from 'node:fs/promises';
import { launch, ready, serve } from '../../tests/web/check.mjs';

const [build, rounds = 51] = process.argv.slice(2);
const { origin, server } = await serve(build);
const browser = await launch();
const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];

async function bare() {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(`${origin}/site/`);
  await ready(page);
  const html = await page.evaluate((script) => {
    document.querySelectorAll('script, link, meta[http-equiv]').forEach((node) => node.remove());
    // The form's own rules, which the module gives the page as a stylesheet of its making.
    const rules = document.adoptedStyleSheets.flatMap((sheet) => [...sheet.cssRules]);
    document.head.append(Object.assign(document.createElement('style'),
      { textContent: rules.map((rule) => rule.cssText).join('\n') }));
    document.head.append(Object.assign(document.createElement('script'), { type: 'module', textContent: script }));
    return `<!doctype html>\n${document.documentElement.outerHTML}`;
  }, "const field = document.getElementById('Text1');\nfield.focus();\nfield.select();\n" +
     "performance.mark('styrmark-ready');\n");
  await context.close();
  await mkdir(`${build}/bench`, { recursive: true });
  await writeFile(`${build}/bench/index.html`, html);
}

// The mark's time, awaited with one small evaluation: Playwright's own wait for a function
// would first put its injected script into the page, a task of tens of milliseconds that
// lands in the middle of a start that outlasts the page's load event.
const readyTime = `new Promise((resolve) => {
  const mark = () => performance.getEntriesByName('styrmark-ready')[0]?.startTime;
  if (mark() !== undefined) resolve(mark());
  else new PerformanceObserver((list, observer) => {
    if (mark() === undefined) return;
    observer.disconnect();
    resolve(mark());
  }).observe({ type: 'mark' });
})`;

async function time(path) {
  const context = await browser.newContext();
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  const took = [];
  for (const visit of [() => page.goto(`${origin}/${path}/`), () => page.reload()]) {
    await visit();
    const { result } = await cdp.send('Runtime.evaluate', { expression: readyTime, awaitPromise: true });
    took.push(result.value);
    // A return comes once the files are kept, not while the service worker keeps them.
    if (path === 'site') await page.evaluate(() => navigator.serviceWorker.ready);
  }
  await context.close();
  return took;
}

try {
  await bare();
  const times = { site: [[], []], bench: [[], []] };
  const ratios = [[], []];
  for (let round = 0; round < rounds; ++round) {
    // Each goes first every other round.
    const bench = round % 2 ? await time('bench') : undefined;
    const site = await time('site');
    const other = bench ?? await time('bench');
    for (const visit of [0, 1]) {
      times.site[visit].push(site[visit]);
      times.bench[visit].push(other[visit]);
      ratios[visit].push(site[visit] / other[visit]);
    }
  }
  const files = await readdir(`${build}/site`);
  const bytes = (await Promise.all(files.map((file) => stat(`${build}/site/${file}`))))
    .reduce((sum, { size }) => sum + size, 0);
  console.log(`${rounds} rounds; ms from navigation to the form ready for input (median, min)`);
  for (const [visit, name] of [[0, 'first visit'], [1, 'return']]) {
    const [s, b] = [times.site[visit], times.bench[visit]];
    console.log(`${name}: Styrmark ${median(s).toFixed(1)} (${Math.min(...s).toFixed(1)}), ` +
      `bare page ${median(b).toFixed(1)} (${Math.min(...b).toFixed(1)}), ratio of medians ` +
      `${(median(s) / median(b)).toFixed(2)}, median ratio within a round ${median(ratios[visit]).toFixed(2)}`);
  }
  console.log(`site: ${files.length} files, ${bytes} bytes`);
} finally {
  await browser.close();
  server.kill();
}
