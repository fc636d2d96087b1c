// What the page costs while it plays: the renderer process's CPU and its
// main thread's busy time over a stretch of real-time play, read from the
// DevTools protocol (Performance.getMetrics), the intervals between the
// frames shown in it and the game's work for each frame; and what it costs
// to start: the gzipped size of zarvox.js and zarvox.wasm, and the time
// from loading the page to its first frame.
//
//   node bench/bench_page.mjs [build-web folder] [seconds]
//
// Needs the runner (build/zarvox-sim) for the autoplayed game's keys and
// puppeteer-core from tests/web (npm ci there). CHROMIUM overrides the
// browser, ZARVOX_SIM the runner.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';

const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const require = createRequire(path.join(ROOT, 'tests/web/package.json'));
const puppeteer = require('puppeteer-core');

const WEB = path.resolve(process.argv[2] || path.join(ROOT, 'build-web'));
const SECONDS = Number(process.argv[3] || 30);
const SIM = process.env.ZARVOX_SIM || path.join(ROOT, 'build/zarvox-sim');
const WORK = fs.mkdtempSync(path.join(os.tmpdir(), 'zarvox-page-bench-'));

// The autoplayed game's keys, so the page plays a whole game in real time.
const played = spawnSync(SIM, ['--autoplay', '--autoplay-script', path.join(WORK, 'auto.txt')],
                         { cwd: WORK, encoding: 'utf8' });
if (played.status !== 0) throw new Error(`zarvox-sim --autoplay: ${played.stderr}`);

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
const server = http.createServer((req, res) => {
  const url = new URL(req.url, 'http://localhost');
  const own = url.pathname.startsWith('/t/');
  const base = own ? WORK : WEB;
  const rel = own ? url.pathname.slice(3) : (url.pathname === '/' ? 'index.html' : url.pathname);
  const file = path.join(base, path.normalize(decodeURIComponent(rel)));
  fs.readFile(file, (err, data) => {
    if (err || !file.startsWith(base)) { res.writeHead(404); res.end(); return; }
    res.writeHead(200, { 'content-type': TYPES[path.extname(file)] || 'text/plain' });
    res.end(data);
  });
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync',
         `--user-data-dir=${fs.mkdtempSync(path.join(os.tmpdir(), 'zarvox-chromium-'))}`],
});
const page = await browser.newPage();
await page.setViewport({ width: 1280, height: 800 });
const cdp = await page.createCDPSession();
await cdp.send('Performance.enable');
const metrics = async () => Object.fromEntries(
  (await cdp.send('Performance.getMetrics')).metrics.map((m) => [m.name, m.value]));

await page.goto(`http://127.0.0.1:${server.address().port}/?keys=/t/auto.txt&ms=0`);
await page.waitForFunction('window.zarvoxTest && window.zarvoxTest.presents > 100',
                           { timeout: 30000 });
const firstFrame = await page.evaluate('window.zarvoxTest.firstFrameMs');
const before = await metrics();
const [firstShown, firstWork] = await page.evaluate(
  () => [window.zarvoxTest.shownAt.length, window.zarvoxTest.workMs.length]);
await new Promise((resolve) => setTimeout(resolve, SECONDS * 1000));
const after = await metrics();
const shown = await page.evaluate(`window.zarvoxTest.shownAt.slice(${firstShown})`);
const work = await page.evaluate(`window.zarvoxTest.workMs.slice(${firstWork})`);
await browser.close();
server.close();
fs.rmSync(WORK, { recursive: true, force: true });

const span = after.Timestamp - before.Timestamp;
const per = (name) => (100 * (after[name] - before[name]) / span).toFixed(2);
const gaps = shown.slice(1).map((v, i) => v - shown[i]).sort((a, b) => a - b);
const mean = gaps.reduce((a, b) => a + b, 0) / gaps.length;
const sd = Math.sqrt(gaps.reduce((a, b) => a + (b - mean) ** 2, 0) / gaps.length);
work.sort((a, b) => a - b);
// The value below which the share p of a sorted list lies.
const at = (list, p) => +list[Math.min(list.length - 1, Math.floor(list.length * p))].toFixed(3);
const gzipped = (name) => zlib.gzipSync(fs.readFileSync(path.join(WEB, name)), { level: 9 }).length;
console.log(JSON.stringify({
  seconds: +span.toFixed(1),
  renderer_cpu_percent: +per('ProcessTime'),
  main_thread_busy_percent: +per('TaskDuration'),
  script_percent: +per('ScriptDuration'),
  frames: gaps.length,
  frame_interval_ms: { mean: +mean.toFixed(3), sd: +sd.toFixed(3), p1: at(gaps, 0.01),
                       p99: at(gaps, 0.99), max: at(gaps, 1) },
  game_work_ms: { p50: at(work, 0.5), p99: at(work, 0.99), max: at(work, 1) },
  first_frame_ms: Math.round(firstFrame),
  gzipped_bytes: { 'zarvox.js': gzipped('zarvox.js'), 'zarvox.wasm': gzipped('zarvox.wasm') },
}));
