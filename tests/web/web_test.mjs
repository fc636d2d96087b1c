// Plays the browser build in headless Chromium and checks it against the
// headless runner: frame hashes, keys, touch, controllers, play data, the
// menu, sound and the page's errors. Measures size, start-up and pacing and
// takes screenshots along the way (written to the output folder).
//
//   node web_test.mjs   (after scripts/build-web.sh and the native build)
//
// ZARVOX_WEB_DIR (build-web), ZARVOX_SIM (build/zarvox-sim), ZARVOX_WEB_OUT
// (build-web/test-out) and CHROMIUM (/usr/bin/chromium) override the paths.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';

const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const WEB = process.env.ZARVOX_WEB_DIR || path.join(ROOT, 'build-web');
const SIM = process.env.ZARVOX_SIM || path.join(ROOT, 'build/zarvox-sim');
const OUT = process.env.ZARVOX_WEB_OUT || path.join(WEB, 'test-out');
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const WORK = fs.mkdtempSync(path.join(os.tmpdir(), 'zarvox-web-'));
const KEY = { LEFT: 0x1, RIGHT: 0x2, SPACE: 0x10 };
const PHONE = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const DESKTOP = { width: 1280, height: 800, deviceScaleFactor: 1 };

fs.mkdirSync(OUT, { recursive: true });
const metrics = {};

// ---- The runner ----

function runSim(args, dir) {
  const r = spawnSync(SIM, args, { cwd: dir, encoding: 'utf8', maxBuffer: 1 << 30 });
  if (r.status !== 0) throw new Error(`zarvox-sim ${args.join(' ')}: status ${r.status}: ${r.stderr}`);
  return r.stdout;
}

function simHashes(args, dir) {
  return runSim([...args, '--trace', '-'], dir).trim().split('\n').map((l) => JSON.parse(l).hash);
}

function freshDir(name) {
  const dir = path.join(WORK, name);
  fs.mkdirSync(dir, { recursive: true });
  return dir;
}

// ---- A static server for the page and the test's own files (/t/) ----

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.png': 'image/png', '.webmanifest': 'application/manifest+json' };
// Cut off, the server drops every connection: the page has only what the
// browser kept.
let serverCutOff = false;
const server = http.createServer((req, res) => {
  if (serverCutOff) { req.socket.destroy(); return; }
  const url = new URL(req.url, 'http://localhost');
  const own = url.pathname.startsWith('/t/');
  const base = own ? WORK : WEB;
  const rel = own ? url.pathname.slice(3) : (url.pathname === '/' ? 'index.html' : url.pathname);
  const file = path.join(base, path.normalize(decodeURIComponent(rel)));
  if (!file.startsWith(base)) { res.writeHead(403); res.end(); return; }
  fs.readFile(file, (err, data) => {
    if (err) { res.writeHead(404); res.end('not found'); return; }
    res.writeHead(200, { 'content-type': TYPES[path.extname(file)] || 'text/plain' });
    res.end(data);
  });
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const ORIGIN = `http://127.0.0.1:${server.address().port}`;

const browser = await puppeteer.launch({
  executablePath: CHROMIUM,
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         '--autoplay-policy=user-gesture-required',
         `--user-data-dir=${fs.mkdtempSync(path.join(os.tmpdir(), 'zarvox-chromium-'))}`],
});

// ---- Pages ----

// A page in its own browser context: its own storage, a fresh profile.
async function freshPage(viewport = DESKTOP, context = null) {
  const ctx = context || await browser.createBrowserContext();
  const page = await ctx.newPage();
  await page.setViewport(viewport);
  page.on('pageerror', (e) => console.log(`# page error: ${e.message}`));
  page.on('console', (m) => { if (m.type() === 'error') console.log(`# console: ${m.text()}`); });
  return page;
}

async function open(page, query) {
  await page.goto(`${ORIGIN}/${query}`);
  await page.waitForFunction('window.zarvoxTest', { timeout: 10000 });
}

const state = (page) => page.evaluate(() => ({ ...window.zarvoxTest, hashes: undefined,
  shownAt: undefined, workMs: undefined }));

// Long waits look rarely, so that looking does not take the game's time.
async function until(page, condition, what, timeout = 30000) {
  try {
    await page.waitForFunction(condition, { timeout, polling: timeout > 60000 ? 1000 : 20 });
  } catch (e) {
    throw new Error(`waited ${timeout} ms for ${what}; the page has ${JSON.stringify(await state(page))}`);
  }
}

const afterPresents = (page, n) =>
  page.evaluate('window.zarvoxTest.presents').then((now) =>
    until(page, `window.zarvoxTest.presents >= ${now + n}`, `${n} more presents`));

function assert(ok, message) {
  if (!ok) throw new Error(message);
}

function firstDifference(a, b) {
  for (let i = 0; i < Math.max(a.length, b.length); ++i) if (a[i] !== b[i]) return i;
  return -1;
}

function assertSameHashes(page, want, got) {
  const at = firstDifference(want, got);
  assert(at < 0, `${page}: present ${at + 1} differs: zarvox-sim ${want[at]}, page ${got[at]} ` +
                 `(${want.length} and ${got.length} presents)`);
}

async function shoot(page, name) {
  await page.screenshot({ path: path.join(OUT, `${name}.png`) });
}

// ---- Checks ----

const results = [];
// ZARVOX_WEB_ONLY (a regular expression) runs only the checks it matches.
const only = process.env.ZARVOX_WEB_ONLY ? new RegExp(process.env.ZARVOX_WEB_ONLY) : null;
async function check(name, body) {
  if (only && !only.test(name)) return;
  const started = Date.now();
  try {
    await body();
    results.push(true);
    console.log(`ok ${results.length} - ${name} (${((Date.now() - started) / 1000).toFixed(1)} s)`);
  } catch (e) {
    results.push(false);
    console.log(`not ok ${results.length} - ${name}\n# ${String(e.message).split('\n').join('\n# ')}`);
  }
}

// Space skips the title's opening, to the picture with the best score.
fs.writeFileSync(path.join(WORK, 'skip.txt'), '10 press SPACE\n');
// The autoplayed game's key script, as the runner wrote it while playing.
const autoDir = freshDir('autoplay');
runSim(['--autoplay', '--autoplay-script', path.join(WORK, 'auto.txt')], autoDir);
const autoHashes = simHashes(['--input', path.join(WORK, 'auto.txt')], freshDir('replay'));
const gameContext = await browser.createBrowserContext();

await check('an autoplayed game gives the runner\'s frames, present for present', async () => {
  const page = await freshPage(DESKTOP, gameContext);
  await open(page, '?keys=/t/auto.txt&fast=1&ms=0');
  await until(page, 'window.zarvoxTest.ended', 'the game to end', 180000);
  const t = await page.evaluate(() => window.zarvoxTest);
  assert(t.status === 0, `the game ended with status ${t.status}`);
  assertSameHashes('fast replay', autoHashes, t.hashes);
  await page.close();
});

await check('a reload keeps the best score and the rewards', async () => {
  const page = await freshPage(DESKTOP, gameContext);
  await open(page, '?keys=/t/skip.txt&ms=0&fast=1&frames=60');
  await until(page, 'window.zarvoxTest.ended', 'the short run to end', 30000);
  const stored = await page.evaluate(() => localStorage.getItem('zarvox.PlayData'));
  const played = fs.readFileSync(path.join(autoDir, 'PlayData.dat')).toString('hex');
  assert(stored === played, `storage holds ${stored}, the runner's file ${played}`);
  const record = Buffer.from(stored, 'hex');
  assert(record.readDoubleLE(0) > 0, 'no best score was kept');
  // The title drawn from the kept record is the runner's with that file.
  const dir = freshDir('reload');
  fs.copyFileSync(path.join(autoDir, 'PlayData.dat'), path.join(dir, 'PlayData.dat'));
  const skip = ['--input', path.join(WORK, 'skip.txt'), '--frames', '60'];
  const want = simHashes(skip, dir);
  assertSameHashes('reload', want, await page.evaluate('window.zarvoxTest.hashes'));
  const fresh = simHashes(skip, freshDir('fresh'));
  assert(firstDifference(want, fresh) >= 0, 'the title looks the same without play data');
  await page.close();
});

await check('the page keeps the game\'s 50 frames a second in real time', async () => {
  const page = await freshPage();
  await open(page, '?keys=/t/auto.txt&ms=0');
  await until(page, 'window.zarvoxTest.ended', 'the real-time game to end', 240000);
  const t = await page.evaluate(() => window.zarvoxTest);
  assertSameHashes('real-time replay', autoHashes, t.hashes);
  const gaps = t.shownAt.slice(2).map((v, i) => v - t.shownAt[i + 1]);
  const mean = gaps.reduce((a, b) => a + b, 0) / gaps.length;
  const sd = Math.sqrt(gaps.reduce((a, b) => a + (b - mean) ** 2, 0) / gaps.length);
  const work = [...t.workMs].sort((a, b) => a - b);
  const sorted = [...gaps].sort((a, b) => a - b);
  metrics.frame_interval_ms = { mean: +mean.toFixed(3), sd: +sd.toFixed(3),
    p1: +sorted[Math.floor(sorted.length * 0.01)].toFixed(2),
    p99: +sorted[Math.floor(sorted.length * 0.99)].toFixed(2),
    max: +sorted[sorted.length - 1].toFixed(2), frames: gaps.length };
  metrics.game_work_ms = { p50: +work[Math.floor(work.length * 0.5)].toFixed(3),
    p99: +work[Math.floor(work.length * 0.99)].toFixed(3), max: +work[work.length - 1].toFixed(3) };
  await page.close();
});

await check('a recording\'s time lines and late messages give the runner\'s frames', async () => {
  // The time lines seed the stage's randomness, so the frames show whether
  // the page took them; the page runs without ms=, on its own clock until
  // the first line.
  const recording = '# zarvox keys 1\n1 ms 370\n20 down LEFT\n45 up LEFT\n60 ms 940\n' +
                    '60 press SPACE\n70 after down RIGHT\n90 up RIGHT\n';
  fs.writeFileSync(path.join(WORK, 'recording.txt'), recording);
  fs.writeFileSync(path.join(WORK, 'untimed.txt'), recording.replace(/^\d+ ms \d+\n/gm, ''));
  const run = ['--start', '2', '--frames', '120'];
  const want = simHashes(['--input', path.join(WORK, 'recording.txt'), ...run], freshDir('timed'));
  const untimed = simHashes(['--input', path.join(WORK, 'untimed.txt'), ...run], freshDir('untimed'));
  assert(firstDifference(want, untimed) >= 0, 'the time lines change no frame');
  const page = await freshPage();
  await open(page, '?keys=/t/recording.txt&fast=1&start=2&frames=120');
  await until(page, 'window.zarvoxTest.ended', 'the recording to end', 30000);
  assertSameHashes('recording', want, await page.evaluate('window.zarvoxTest.hashes'));
  await page.close();
});

await check('bad query values give a readable error and no game', async () => {
  fs.writeFileSync(path.join(WORK, 'bad.txt'), '5 press SPACE\n7 down Q\n');
  fs.writeFileSync(path.join(WORK, 'later.txt'), '# zarvox keys 2\n5 press SPACE\n');
  const cases = [['ms=abc', 'ms'], ['ms=1000', 'ms'], ['start=0', 'start'], ['start=5', 'start'],
                 ['stage=4', 'stage'], ['score=1000', 'score'], ['frames=-1', 'frames'],
                 ['fast=yes', 'fast'], ['ms=1&ms=2', 'ms'], ['keys=/t/missing.txt', 'keys'],
                 ['keys=/t/bad.txt', 'line 2'], ['keys=/t/later.txt', 'version']];
  const page = await freshPage();
  for (const [query, names] of cases) {
    await open(page, `?${query}`);
    await until(page, 'window.zarvoxTest.ended', `the error for ${query}`, 10000);
    const seen = await page.evaluate(() => ({
      text: document.getElementById('error').textContent,
      shown: getComputedStyle(document.getElementById('error')).display !== 'none',
      presents: window.zarvoxTest.presents }));
    assert(seen.shown && seen.text.startsWith('Cannot start:') && seen.text.includes(names),
           `${query}: the page says "${seen.text}" (shown: ${seen.shown})`);
    assert(seen.presents === 0, `${query}: the game ran ${seen.presents} presents`);
  }
  await page.close();
});

let firstFrames = [];
await check('real keys start a game, move the ship and start the sound', async () => {
  const page = await freshPage();
  await page.evaluateOnNewDocument(() => {
    window.keptDefaults = [];
    window.addEventListener('keydown', (e) => window.keptDefaults.push([e.code, e.defaultPrevented]));
  });
  await open(page, '?ms=0');
  await until(page, 'window.zarvoxTest.presents >= 30', 'the title');
  firstFrames.push(await page.evaluate('window.zarvoxTest.firstFrameMs'));
  await afterPresents(page, 20);
  assert(await page.evaluate('window.zarvoxTest.audioPeak') === 0, 'sound before any key');
  // Each press is shorter than a frame: down and up reach the page at once.
  await page.keyboard.press('Space');
  await afterPresents(page, 10);
  await page.keyboard.press('Space');
  await until(page, 'window.zarvoxTest.mode === 2', 'the stage to start');
  await afterPresents(page, 60);
  const x0 = await page.evaluate('window.zarvoxTest.shipX');
  await page.keyboard.down('ArrowLeft');
  await afterPresents(page, 10);
  const held = await page.evaluate('window.zarvoxTest.keys');
  await page.keyboard.up('ArrowLeft');
  const x1 = await page.evaluate('window.zarvoxTest.shipX');
  assert(held & KEY.LEFT, `Left held, yet the game's keys are ${held}`);
  assert(x1 < x0, `Left held: the ship went from ${x0} to ${x1}`);
  await page.keyboard.down('ArrowRight');
  await afterPresents(page, 10);
  await page.keyboard.up('ArrowRight');
  const x2 = await page.evaluate('window.zarvoxTest.shipX');
  assert(x2 > x1, `Right held: the ship went from ${x1} to ${x2}`);
  await page.evaluate('window.zarvoxTest.audioPeak = 0');
  await page.keyboard.press('Space');
  await new Promise((r) => setTimeout(r, 1500));
  const peak = await page.evaluate('window.zarvoxTest.audioPeak');
  metrics.battle_audio_peak = peak;
  assert(peak > 0.01, `the battle's sound peaks at ${peak}`);
  const kept = await page.evaluate('window.keptDefaults');
  for (const [code, prevented] of kept)
    assert(prevented, `${code} kept its browser action (the page may scroll)`);
  await page.close();
});

await check('touch buttons steer and fire, also at the same time', async () => {
  const page = await freshPage(PHONE);
  await open(page, '?ms=0');
  await until(page, 'window.zarvoxTest.presents >= 40', 'the title');
  const centre = (key) => page.$eval(`#touch button[data-key="${key}"]`, (b) => {
    const r = b.getBoundingClientRect();
    return r.width > 0 ? { x: r.x + r.width / 2, y: r.y + r.height / 2 } : null;
  });
  const [left, right, fire] = [await centre('LEFT'), await centre('RIGHT'), await centre('SPACE')];
  assert(left && right && fire, 'the three touch buttons are not on the page');
  const cdp = await page.createCDPSession();
  const touch = (type, points) => cdp.send('Input.dispatchTouchEvent', { type,
    touchPoints: points.map(([p, id]) => ({ x: p.x, y: p.y, id })) });
  const tapFire = async () => {
    await touch('touchStart', [[fire, 1]]);
    await touch('touchEnd', []);
  };
  await tapFire();
  await afterPresents(page, 10);
  await tapFire();
  await until(page, 'window.zarvoxTest.mode === 2', 'the stage to start');
  await afterPresents(page, 60);
  const keys = () => page.evaluate('window.zarvoxTest.keys');
  const ship = () => page.evaluate('window.zarvoxTest.shipX');
  const x0 = await ship();
  await touch('touchStart', [[left, 1]]);
  await touch('touchStart', [[left, 1], [fire, 2]]);
  await afterPresents(page, 3);
  const both = await keys();
  assert((both & (KEY.LEFT | KEY.SPACE)) === (KEY.LEFT | KEY.SPACE),
         `Left and fire held, yet the game's keys are ${both}`);
  await afterPresents(page, 10);
  const x1 = await ship();
  assert(x1 < x0, `Left held: the ship went from ${x0} to ${x1}`);
  // The first finger slides onto Right: the key moves with it.
  await touch('touchMove', [[right, 1], [fire, 2]]);
  await afterPresents(page, 3);
  const slid = await keys();
  assert((slid & (KEY.LEFT | KEY.RIGHT)) === KEY.RIGHT, `after sliding the keys are ${slid}`);
  await afterPresents(page, 10);
  const x2 = await ship();
  assert(x2 > x1, `Right held: the ship went from ${x1} to ${x2}`);
  await touch('touchEnd', []);
  await afterPresents(page, 3);
  const after = await keys();
  assert((after & (KEY.LEFT | KEY.RIGHT | KEY.SPACE)) === 0, `all fingers up, keys ${after}`);
  await page.close();
});

await check('a controller steers and fires', async () => {
  const page = await freshPage();
  await page.evaluateOnNewDocument(() => {
    const pad = { connected: true, axes: [0, 0, 0, 0],
                  buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
    window.testPad = pad;
    navigator.getGamepads = () => [pad];
  });
  await open(page, '?ms=0');
  await until(page, 'window.zarvoxTest.presents >= 40', 'the title');
  const press = async (button, down) => {
    await page.evaluate((b, d) => { window.testPad.buttons[b].pressed = d; }, button, down);
    await afterPresents(page, 3);
  };
  await press(0, true);
  await press(0, false);
  await afterPresents(page, 10);
  await press(1, true);
  await press(1, false);
  await until(page, 'window.zarvoxTest.mode === 2', 'the stage to start');
  await afterPresents(page, 60);
  const x0 = await page.evaluate('window.zarvoxTest.shipX');
  await page.evaluate(() => { window.testPad.axes[0] = -1; });
  await afterPresents(page, 10);
  const held = await page.evaluate('window.zarvoxTest.keys');
  await page.evaluate(() => { window.testPad.axes[0] = 0; });
  await afterPresents(page, 3);
  const x1 = await page.evaluate('window.zarvoxTest.shipX');
  assert(held & KEY.LEFT, `the stick held left, yet the game's keys are ${held}`);
  assert(x1 < x0, `the stick held left: the ship went from ${x0} to ${x1}`);
  await press(15, true);
  await afterPresents(page, 10);
  await press(15, false);
  const x2 = await page.evaluate('window.zarvoxTest.shipX');
  assert(x2 > x1, `the D-pad held right: the ship went from ${x1} to ${x2}`);
  await page.close();
});

await check('without storage or sound the game plays and says so once each', async () => {
  const page = await freshPage();
  const lines = [];
  page.on('console', (m) => lines.push(m.text()));
  await page.evaluateOnNewDocument(() => {
    Object.defineProperty(window, 'localStorage', {
      get() { throw new DOMException('storage is off', 'SecurityError'); } });
    delete window.AudioWorkletNode;
  });
  await open(page, '?ms=0&fast=1&keys=/t/auto.txt');
  await until(page, 'window.zarvoxTest.ended', 'the game to end', 180000);
  const t = await page.evaluate(() => window.zarvoxTest);
  assert(t.status === 0, `the game ended with status ${t.status}`);
  assertSameHashes('no storage, no sound', autoHashes, t.hashes);
  const said = (text) => lines.filter((l) => l.includes(text)).length;
  assert(said('without saving') === 1, `storage: ${JSON.stringify(lines)}`);
  assert(said('playing without sound') === 1, `sound: ${JSON.stringify(lines)}`);
  await page.close();
});

await check('"Salir" ends the game and "Play again" starts a new one', async () => {
  const page = await freshPage();
  await open(page, '?ms=0');
  await until(page, 'window.zarvoxTest.presents >= 20', 'the title');
  firstFrames.push(await page.evaluate('window.zarvoxTest.firstFrameMs'));
  const r = await page.$eval('#screen', (c) => {
    const b = c.getBoundingClientRect();
    return { x: b.x, y: b.y, sx: b.width / c.width, sy: b.height / c.height };
  });
  // "Salir" is the first item of the bar along the canvas's top edge.
  await page.mouse.click(r.x + 12 * r.sx, r.y + 5 * r.sy);
  await until(page, 'window.zarvoxTest.ended', 'the game to end', 10000);
  const status = await page.evaluate('window.zarvoxTest.status');
  assert(status === 0, `the game ended with status ${status}`);
  assert(await page.$eval('#end', (e) => !e.hidden), 'no "Play again" after the end');
  await page.click('#again');
  await until(page, '!window.zarvoxTest.ended && window.zarvoxTest.presents >= 20', 'a new game');
  await page.close();
});

await check('screenshots of the title, a stage and the boss, on a desktop and a phone', async () => {
  for (const [device, viewport] of [['desktop', DESKTOP], ['phone', PHONE]]) {
    const page = await freshPage(viewport);
    const shots = [['title', '?ms=0&keys=/t/skip.txt', 100], ['stage', '?ms=0&start=2', 250],
                   ['boss', '?ms=0&start=3', 250]];
    for (const [name, query, presents] of shots) {
      await open(page, query);
      await until(page, `window.zarvoxTest.presents >= ${presents}`, name);
      await shoot(page, `${device}-${name}`);
    }
    await page.close();
  }
});

// ---- Pause, mute, the installed page ----

const presentsNow = (page) => page.evaluate('window.zarvoxTest.presents');
const pauseFor = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The page seen as hidden or shown, as when the player switches tabs.
const setHidden = (page, hidden) => page.evaluate((h) => {
  Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => h ? 'hidden' : 'visible' });
  Object.defineProperty(document, 'hidden', { configurable: true, get: () => h });
  document.dispatchEvent(new Event('visibilitychange'));
}, hidden);

async function assertHeld(page, what) {
  await until(page, 'window.zarvoxTest.paused === true', `${what}: paused`);
  await pauseFor(100);
  const held = await presentsNow(page);
  await pauseFor(600);
  const later = await presentsNow(page);
  assert(later === held, `${what}: ${later - held} presents while paused`);
}

await check('the pause button and a hidden page hold the game; the button or a shown page play on', async () => {
  const page = await freshPage();
  await open(page, '?ms=0&start=2');
  await until(page, 'window.zarvoxTest.presents >= 50', 'the stage to run');
  await page.click('[data-action="pause"]');
  await assertHeld(page, 'the button');
  await shoot(page, 'pause-overlay');
  // Keys pressed while paused never reach the game.
  await page.keyboard.down('ArrowLeft');
  await pauseFor(100);
  await page.click('[data-action="pause"]');
  await until(page, 'window.zarvoxTest.paused === false', 'the button to play on');
  await afterPresents(page, 10);
  const keys = await page.evaluate('window.zarvoxTest.keys');
  assert((keys & KEY.LEFT) === 0, `Left pressed while paused reached the game (keys ${keys})`);
  await page.keyboard.up('ArrowLeft');
  await setHidden(page, true);
  await assertHeld(page, 'a hidden page');
  await setHidden(page, false);
  await until(page, 'window.zarvoxTest.paused === false', 'a shown page to play on');
  await afterPresents(page, 10);
  // P pauses and plays on as the button does.
  await page.keyboard.press('KeyP');
  await assertHeld(page, 'P');
  await page.keyboard.press('KeyP');
  await afterPresents(page, 10);
  // Escape quits from a pause at once.
  await page.keyboard.press('KeyP');
  await assertHeld(page, 'P again');
  await page.keyboard.press('Escape');
  await until(page, 'window.zarvoxTest.ended', 'Escape to end the paused game', 5000);
  await page.close();
});

await check('mute and the volume are kept across a reload', async () => {
  const ctx = await browser.createBrowserContext();
  const page = await freshPage(DESKTOP, ctx);
  await open(page, '?ms=0&frames=100000');
  await until(page, 'window.zarvoxTest.presents >= 5', 'the title');
  assert(!(await page.evaluate('window.zarvoxTest.muted')), 'muted before anyone asked');
  await page.click('[data-action="mute"]');
  await page.keyboard.press('Minus');
  await page.keyboard.press('Minus');
  await page.keyboard.press('KeyM');
  const before = await page.evaluate(() => ({ ...window.zarvoxTest }));
  assert(before.muted === true && before.volume === 8, `muted ${before.muted}, volume ${before.volume}`);
  await page.reload();
  await page.waitForFunction('window.zarvoxTest && window.zarvoxTest.presents > 0');
  const after = await page.evaluate(() => ({ ...window.zarvoxTest }));
  assert(after.muted === true && after.volume === 8,
         `after a reload: muted ${after.muted}, volume ${after.volume}`);
  await ctx.close();
});

await check('after one visit the page loads and plays offline, and installs', async () => {
  const ctx = await browser.createBrowserContext();
  const page = await freshPage(PHONE, ctx);
  await open(page, '?ms=0');
  await page.evaluate(() => navigator.serviceWorker.ready);
  await until(page, 'window.zarvoxTest.presents > 0', 'the first visit to play');
  const cdp = await page.createCDPSession();
  const manifest = await cdp.send('Page.getAppManifest');
  assert(manifest.errors.length === 0, `manifest: ${JSON.stringify(manifest.errors)}`);
  const m = JSON.parse(manifest.data);
  const sizes = m.icons.map((i) => i.sizes).join(' ');
  assert(/192x192/.test(sizes) && /512x512/.test(sizes), `icons ${sizes}`);
  serverCutOff = true;
  try {
    await page.reload();
    await page.waitForFunction('window.zarvoxTest', { timeout: 10000 });
    await until(page, 'window.zarvoxTest.presents > 150', 'the offline page to play');
    await shoot(page, 'installed-offline');
  } finally {
    serverCutOff = false;
  }
  await ctx.close();
});

await check('in phone landscape the buttons stand beside the game', async () => {
  const page = await freshPage({ width: 844, height: 390, deviceScaleFactor: 3, isMobile: true,
                                 hasTouch: true });
  await open(page, '?ms=0&start=2');
  await until(page, 'window.zarvoxTest.presents >= 100', 'the stage');
  const box = (selector) => page.$eval(selector, (e) => {
    const r = e.getBoundingClientRect();
    return { left: r.left, right: r.right, top: r.top, bottom: r.bottom, height: r.height };
  });
  const game = await box('#screen');
  const left = await box('button[data-key="LEFT"]');
  const right = await box('button[data-key="RIGHT"]');
  const fire = await box('button[data-key="SPACE"]');
  metrics.landscape_game_css_px = { width: game.right - game.left, height: game.height };
  assert(game.height >= 300, `the game is ${game.height} CSS pixels tall in a 390-pixel screen`);
  assert(left.right <= game.left && right.right <= game.left, 'Left and Right are not left of the game');
  assert(fire.left >= game.right, 'Fire is not right of the game');
  for (const b of [left, right, fire])
    assert(b.top >= 0 && b.bottom <= 390, 'a button is off the screen');
  await shoot(page, 'phone-landscape');
  await page.close();
});

const gzipped = (name) => zlib.gzipSync(fs.readFileSync(path.join(WEB, name)), { level: 9 }).length;
metrics.gzipped_bytes = { 'zarvox.js': gzipped('zarvox.js'), 'zarvox.wasm': gzipped('zarvox.wasm') };
metrics.gzipped_bytes.total = metrics.gzipped_bytes['zarvox.js'] + metrics.gzipped_bytes['zarvox.wasm'];
if (firstFrames.length) metrics.first_frame_ms = firstFrames.map((ms) => Math.round(ms));
fs.writeFileSync(path.join(OUT, 'metrics.json'), JSON.stringify(metrics, null, 2) + '\n');
console.log(`# measured: ${JSON.stringify(metrics)}`);

await browser.close();
server.close();
fs.rmSync(WORK, { recursive: true, force: true });
const passed = results.filter((r) => r).length;
console.log(`${passed} passed, ${results.length - passed} failed`);
process.exit(passed === results.length ? 0 : 1);
