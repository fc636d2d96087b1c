// The page around the game: the canvas and its scaling, keys, touch buttons,
// controllers, sound, storage, the message box, and the test mode.
'use strict';
(function () {
  const $ = (id) => document.getElementById(id);
  const canvas = $('screen');
  const context = canvas.getContext('2d', { alpha: false });
  const box = $('box');
  const VK = { LEFT: 0x25, RIGHT: 0x27, SPACE: 0x20 };

  // What automated checks read: see the test mode of the page.
  const test = window.zarvoxTest = {
    presents: 0, hashes: [], ended: false, status: null,
    firstFrameMs: null, audioPeak: 0, shownAt: [], workMs: [],
    paused: false, muted: false, volume: 10,
  };

  let game = null;       // the running game's module, null between games
  let options = null;    // the query's settings
  let scriptText = null; // the key script, when one was asked for

  // ---- The query ----

  // Turns the query into settings; throws an Error with a one-line reason.
  function readQuery(search) {
    const query = new URLSearchParams(search);
    const o = { keys: null, ms: -1, fast: false, frames: 0, start: -1, stage: -1, score: -1,
                testing: false };
    const names = ['keys', 'ms', 'fast', 'frames', 'start', 'stage', 'score'];
    for (const name of names) {
      const values = query.getAll(name);
      if (values.length > 1) throw new Error(`${name} is given twice`);
      if (values.length === 1) o.testing = true;
    }
    const number = (name, low, high) => {
      const v = query.get(name);
      if (v === null) return -1;
      if (!/^[0-9]{1,10}$/.test(v) || +v < low || +v > high)
        throw new Error(`${name}=${v} is not a whole number from ${low} to ${high}`);
      return +v;
    };
    o.ms = number('ms', 0, 999);
    o.frames = Math.max(0, number('frames', 0, 2000000000));
    o.start = number('start', 1, 4);
    o.stage = number('stage', 1, 3);
    o.score = number('score', 0, 999);
    const fast = query.get('fast');
    if (fast !== null && fast !== '0' && fast !== '1')
      throw new Error(`fast=${fast} must be 0 or 1`);
    o.fast = fast === '1';
    o.keys = query.get('keys');
    if (o.keys === '') throw new Error('keys= names no key script');
    return o;
  }

  function fail(message) {
    const line = 'Cannot start: ' + message.replace(/[\r\n]+/g, ' ');
    $('error').textContent = line;
    document.body.classList.add('failed');
    console.error('zarvox: ' + line);
    test.error = line;
    test.ended = true;
    test.status = 2;
  }

  // ---- Play data: the 72-byte record, kept in the page's storage ----

  const RECORD_NAME = 'PlayData.dat';  // in the game's working folder, '/'
  const RECORD_KEY = 'zarvox.PlayData';
  let storage;  // undefined until asked, null when the browser refuses it

  function playStorage() {
    if (storage !== undefined) return storage;
    try {
      const s = window.localStorage;
      s.setItem(RECORD_KEY + '.probe', '1');
      s.removeItem(RECORD_KEY + '.probe');
      storage = s;
    } catch (e) {
      storage = null;
      console.warn('zarvox: this browser refuses storage here; playing without saving');
    }
    return storage;
  }

  const toHex = (bytes) => Array.from(bytes, (b) => b.toString(16).padStart(2, '0')).join('');
  // The bytes a stored text holds, up to its first character that is not
  // part of a hex pair; the game reads them as it reads a short file.
  function fromHex(text) {
    const match = /^(?:[0-9a-fA-F]{2})*/.exec(text)[0];
    const bytes = new Uint8Array(match.length / 2);
    for (let i = 0; i < bytes.length; ++i) bytes[i] = parseInt(match.substr(2 * i, 2), 16);
    return bytes;
  }

  // Before the game starts: the stored record becomes the file it reads,
  // and every save it completes (a write, then a rename over the record)
  // is copied back to storage.
  function attachPlayData(module) {
    const s = playStorage();
    if (!s) return;
    const stored = s.getItem(RECORD_KEY);
    if (stored !== null) module.FS.writeFile('/' + RECORD_NAME, fromHex(stored));
    const rename = module.FS.rename;
    module.FS.rename = function (from, to) {
      const result = rename.call(this, from, to);
      if (to.replace(/^.*\//, '') === RECORD_NAME) {
        try {
          s.setItem(RECORD_KEY, toHex(module.FS.readFile(to)));
        } catch (e) {
          if (!attachPlayData.warned) console.warn('zarvox: cannot save the play data: ' + e);
          attachPlayData.warned = true;
        }
      }
      return result;
    };
  }

  // ---- Screen ----

  let picture = null;

  // Phone landscape: the buttons stand beside the game (index.html), which
  // then has the whole height.
  const landscape = matchMedia('(orientation: landscape)');
  const SIDE_COLUMNS = 180 + 140 + 16;

  function fitCanvas() {
    const dpr = window.devicePixelRatio || 1;
    let reserved = 0;
    for (const id of ['touch', 'tools']) reserved += $(id).offsetHeight;
    let room = { w: window.innerWidth * dpr, h: (window.innerHeight - reserved - 8) * dpr };
    if (landscape.matches && document.body.classList.contains('touch'))
      room = { w: (window.innerWidth - SIDE_COLUMNS) * dpr, h: (window.innerHeight - 8) * dpr };
    const scale = Math.max(1, Math.floor(Math.min(room.w / canvas.width, room.h / canvas.height)));
    canvas.style.width = (canvas.width * scale / dpr) + 'px';
    canvas.style.height = (canvas.height * scale / dpr) + 'px';
  }

  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(() => {});
    } else if (document.documentElement.requestFullscreen) {
      $('app').requestFullscreen().catch((e) => console.warn('zarvox: no fullscreen: ' + e));
    }
  }

  // ---- Pacing ----

  // The game waits once a frame: one timer for the whole milliseconds left,
  // then messages to the page itself for the part of a millisecond after it
  // (a timer is never shorter than 1 ms, and held back to 4 ms when timers
  // nest, so a message starts each wait afresh). Input ends a wait at once.
  const wake = new MessageChannel();
  let sleeper = null;
  wake.port1.onmessage = () => {
    const s = sleeper;
    if (!s || s.timer || pause.reasons) return;
    const left = s.target - performance.now();
    if (left <= 0) {
      sleeper = null;
      s.done();
    } else if (left < 1) {
      wake.port2.postMessage(0);
    } else {
      s.timer = setTimeout(() => { s.timer = 0; wake.port2.postMessage(0); }, Math.floor(left));
    }
  };
  function waitUntil(target, done) {
    sleeper = { target, done, timer: 0 };
    wake.port2.postMessage(0);
  }
  function interruptWait() {
    const s = sleeper;
    if (!s) return;
    if (s.timer) clearTimeout(s.timer);
    s.timer = 0;
    s.target = 0;
    wake.port2.postMessage(0);
  }

  // ---- Sound ----

  // The worklet plays what the game's mixer made, at the game's rate (or
  // stepping through it when the browser insists on its own rate), and asks
  // for more while it holds less than a tenth of a second.
  const WORKLET = `
    class ZarvoxOutput extends AudioWorkletProcessor {
      constructor(options) {
        super();
        this.rate = options.processorOptions.rate;
        this.step = this.rate / sampleRate;
        this.chunks = []; this.offset = 0; this.phase = 0; this.queued = 0;
        this.asked = false; this.peak = 0; this.sinceReport = 0;
        this.port.onmessage = (e) => {
          this.chunks.push(e.data); this.queued += e.data.length / 2; this.asked = false;
        };
      }
      process(inputs, outputs) {
        const left = outputs[0][0], right = outputs[0][1] || left;
        for (let i = 0; i < left.length; ++i) {
          let l = 0, r = 0;
          if (this.chunks.length) {
            const c = this.chunks[0];
            l = c[this.offset] / 32768; r = c[this.offset + 1] / 32768;
            this.phase += this.step;
            while (this.phase >= 1 && this.chunks.length) {
              this.phase -= 1; this.offset += 2; --this.queued;
              if (this.offset >= this.chunks[0].length) { this.chunks.shift(); this.offset = 0; }
            }
          }
          left[i] = l; right[i] = r;
          const a = Math.max(Math.abs(l), Math.abs(r));
          if (a > this.peak) this.peak = a;
        }
        this.sinceReport += left.length;
        const low = this.rate / 10;
        if (!this.asked && this.queued < low) {
          this.asked = true;
          this.port.postMessage({ need: Math.ceil(low * 1.5 - this.queued) });
        }
        if (this.sinceReport >= sampleRate / 4) {
          this.port.postMessage({ peak: this.peak });
          this.peak = 0; this.sinceReport = 0;
        }
        return true;
      }
    }
    registerProcessor('zarvox-output', ZarvoxOutput);`;

  const sound = { context: null, node: null, gain: null };

  // '' when sound can start (once the player touches a key or the screen),
  // else the reason there is none.
  function openAudio(rate) {
    const AudioContextClass = window.AudioContext || window.webkitAudioContext;
    if (!AudioContextClass || !window.AudioWorkletNode)
      return 'this page has no audio worklets (they need https or localhost)';
    try {
      sound.context = new AudioContextClass({ sampleRate: rate, latencyHint: 'interactive' });
    } catch (e) {
      try { sound.context = new AudioContextClass(); } catch (e2) { return 'no audio output'; }
    }
    const context = sound.context;
    if (!context.audioWorklet) {
      closeAudio();
      return 'this page has no audio worklets (they need https or localhost)';
    }
    const url = URL.createObjectURL(new Blob([WORKLET], { type: 'text/javascript' }));
    context.audioWorklet.addModule(url).then(() => {
      if (sound.context !== context) return;
      sound.node = new AudioWorkletNode(context, 'zarvox-output', {
        numberOfInputs: 0, outputChannelCount: [2], processorOptions: { rate } });
      sound.node.port.onmessage = (e) => {
        if (e.data.need && game && sound.context === context) game._web_audio_pull(e.data.need);
        if (e.data.peak > test.audioPeak) test.audioPeak = e.data.peak;
      };
      sound.gain = context.createGain();
      sound.gain.gain.value = volumeGain();
      sound.node.connect(sound.gain).connect(context.destination);
    }).catch((e) => {
      console.warn('zarvox: playing without sound: ' + e);
      closeAudio();
    }).finally(() => URL.revokeObjectURL(url));
    return '';
  }

  function writeAudio(samples) {
    if (!sound.node) return;
    const copy = new Int16Array(samples);
    sound.node.port.postMessage(copy, [copy.buffer]);
  }

  function closeAudio() {
    if (sound.node) sound.node.disconnect();
    if (sound.context) sound.context.close().catch(() => {});
    sound.node = null;
    sound.gain = null;
    sound.context = null;
  }

  // Browsers start sound only after the player has done something.
  function startSound() {
    if (pause.reasons) return;
    if (sound.context && sound.context.state === 'suspended') sound.context.resume().catch(() => {});
  }

  // ---- Volume and mute, kept in the page's storage ----

  const SETTINGS_KEY = 'zarvox.settings';
  const VOLUME_STEPS = 10;
  const settings = { volume: VOLUME_STEPS, muted: false };

  function loadSettings() {
    const s = playStorage();
    let stored = null;
    try {
      stored = s && JSON.parse(s.getItem(SETTINGS_KEY) || 'null');
    } catch (e) {
      console.warn('zarvox: the stored volume is damaged; using the default');
    }
    if (stored && Number.isInteger(stored.volume) && stored.volume >= 0 &&
        stored.volume <= VOLUME_STEPS && typeof stored.muted === 'boolean') {
      settings.volume = stored.volume;
      settings.muted = stored.muted;
    }
    settingsChanged(false);
  }

  // About 3 dB a step, as on the desktop; the top step is the mix as made.
  function volumeGain() {
    if (settings.muted || settings.volume <= 0) return 0;
    return Math.pow(10, -3 * (VOLUME_STEPS - settings.volume) / 20);
  }

  function settingsChanged(store) {
    test.muted = settings.muted;
    test.volume = settings.volume;
    if (sound.gain) sound.gain.gain.value = volumeGain();
    const button = $('mute');
    button.textContent = settings.muted ? 'Sound on' : 'Mute';
    button.setAttribute('aria-pressed', settings.muted ? 'true' : 'false');
    if (!store) return;
    const s = playStorage();
    try {
      if (s) s.setItem(SETTINGS_KEY, JSON.stringify(settings));
    } catch (e) {
      console.warn('zarvox: cannot keep the volume: ' + e);
    }
  }

  function toggleMute() {
    settings.muted = !settings.muted;
    settingsChanged(true);
  }

  function stepVolume(step) {
    settings.volume = Math.max(0, Math.min(VOLUME_STEPS, settings.volume + step));
    settings.muted = false;
    settingsChanged(true);
  }

  // ---- Pause ----

  // The game is held inside its frame wait: the sleeper above is not woken
  // while a reason holds. The picture is the last frame, dimmed under
  // "PAUSED"; the game's own frames are not touched.
  const PAUSE_BY_PLAYER = 1, PAUSE_BY_PAGE_HIDDEN = 2;
  const pause = { reasons: 0, padTimer: 0 };

  // `told`: the game's host already knows (it lifted the pause itself).
  function setPause(reason, on, told = false) {
    const before = pause.reasons;
    pause.reasons = on ? (pause.reasons | reason) : (pause.reasons & ~reason);
    if (game && !told && before !== pause.reasons) game._web_pause_game(reason, on ? 1 : 0);
    if (!before === !pause.reasons) return;
    test.paused = pause.reasons !== 0;
    $('pause').textContent = test.paused ? 'Play on' : 'Pause';
    $('pause').setAttribute('aria-pressed', test.paused ? 'true' : 'false');
    if (test.paused) {
      drawPauseVeil();
      if (sound.context && sound.context.state === 'running') sound.context.suspend().catch(() => {});
      // Controllers are read once a frame; while paused, Start is watched here.
      pause.padTimer = setInterval(pollPads, 100);
    } else {
      clearInterval(pause.padTimer);
      if (picture) context.putImageData(picture, 0, 0);
      startSound();
      wake.port2.postMessage(0);
    }
  }

  function togglePause() {
    if (!pause.reasons) return setPause(PAUSE_BY_PLAYER, true);
    setPause(PAUSE_BY_PAGE_HIDDEN, false);
    setPause(PAUSE_BY_PLAYER, false);
  }

  function drawPauseVeil() {
    if (!picture || !game) return;
    const top = canvas.height - 320;
    context.fillStyle = 'rgba(0, 0, 0, 0.7)';
    context.fillRect(0, top, canvas.width, canvas.height - top);
    context.fillStyle = '#fff';
    context.textAlign = 'center';
    context.font = 'bold 28px system-ui, sans-serif';
    context.fillText('PAUSED', canvas.width / 2, top + 150);
    context.fillStyle = '#c8c8d0';
    context.font = '12px system-ui, sans-serif';
    context.fillText(document.body.classList.contains('touch') ? 'Tap Play on to go on'
                     : 'P plays on, Esc quits', canvas.width / 2, top + 176);
  }

  document.addEventListener('visibilitychange', () =>
    setPause(PAUSE_BY_PAGE_HIDDEN, document.visibilityState === 'hidden'));

  // The page's own keys, never the game's: P and Pause, M, - and + ([ and ]).
  const HOST_KEYS = {
    KeyP: togglePause, Pause: togglePause, KeyM: toggleMute,
    Minus: () => stepVolume(-1), NumpadSubtract: () => stepVolume(-1),
    BracketLeft: () => stepVolume(-1),
    Equal: () => stepVolume(1), NumpadAdd: () => stepVolume(1), BracketRight: () => stepVolume(1),
  };
  function hostKey(e) {
    if (e.altKey || e.ctrlKey || e.metaKey) return false;
    const action = HOST_KEYS[e.code];
    if (!action) return false;
    e.preventDefault();
    if (e.type === 'keydown' && !e.repeat) action();
    return true;
  }

  // ---- Keyboard ----

  const heldKeys = new Map();  // code -> the key it gave when pressed
  // Keys whose browser action (scrolling, help, fullscreen) the game replaces.
  const OWN_KEYS = /^(Arrow(Left|Right|Up|Down)|Space|F1|F10|F11)$/;

  function sendKey(code, key, pressed, repeat, alt) {
    if (!game) return;
    game.stringToUTF8(code, game._web_text(0), 64);
    game.stringToUTF8(key, game._web_text(1), 64);
    game._web_key(pressed ? 1 : 0, repeat ? 1 : 0, alt ? 1 : 0);
    interruptWait();
  }

  document.addEventListener('keydown', (e) => {
    if (box.open || !game) return;
    if (hostKey(e)) return;
    startSound();
    if (OWN_KEYS.test(e.code) || (e.altKey && e.code === 'Enter')) e.preventDefault();
    if (!e.repeat || !heldKeys.has(e.code)) heldKeys.set(e.code, e.key);
    sendKey(e.code, e.key, true, e.repeat, e.altKey);
  });
  document.addEventListener('keyup', (e) => {
    if (!heldKeys.has(e.code)) return;
    const key = heldKeys.get(e.code);
    heldKeys.delete(e.code);
    if (OWN_KEYS.test(e.code)) e.preventDefault();
    sendKey(e.code, key, false, false, e.altKey);
  });
  // Keys held when the page loses the keyboard are let go, or the game
  // would never hear their release.
  window.addEventListener('blur', () => {
    for (const [code, key] of heldKeys) sendKey(code, key, false, false, false);
    heldKeys.clear();
  });

  // ---- Mouse and touch on the canvas: the menu bar ----

  function canvasPoint(e) {
    const r = canvas.getBoundingClientRect();
    return [Math.floor((e.clientX - r.left) * canvas.width / r.width),
            Math.floor((e.clientY - r.top) * canvas.height / r.height)];
  }
  canvas.addEventListener('pointermove', (e) => { if (game) game._web_pointer(0, ...canvasPoint(e)); });
  canvas.addEventListener('pointerleave', () => { if (game) game._web_pointer(0, -1, -1); });
  canvas.addEventListener('pointerdown', (e) => {
    startSound();
    if (e.button !== 0 || !game) return;
    game._web_pointer(1, ...canvasPoint(e));
  });
  canvas.addEventListener('pointerup', (e) => {
    if (e.button !== 0 || !game) return;
    game._web_pointer(2, ...canvasPoint(e));
    interruptWait();
  });

  // ---- Touch buttons ----

  const fingerOn = new Map();  // pointer id -> the button under it
  const holders = new Map();   // button -> how many fingers hold it

  function holdButton(button, by) {
    const count = (holders.get(button) || 0) + by;
    holders.set(button, count);
    if (count === (by > 0 ? 1 : 0)) {
      button.classList.toggle('held', by > 0);
      if (game) game._web_touch(VK[button.dataset.key], by > 0 ? 1 : 0);
      interruptWait();
    }
  }
  // A finger moved onto `button` (or off every button): the key moves with it.
  function moveFinger(id, button) {
    const was = fingerOn.get(id) || null;
    if (was === button) return;
    if (was) holdButton(was, -1);
    if (button) holdButton(button, +1);
    if (button) fingerOn.set(id, button); else fingerOn.delete(id);
  }
  const buttonAt = (x, y) => {
    const el = document.elementFromPoint(x, y);
    return el && el.closest ? el.closest('#touch button[data-key]') : null;
  };
  const pad = $('touch');
  pad.addEventListener('pointerdown', (e) => {
    const button = e.target.closest('button[data-key]');
    if (!button) return;
    e.preventDefault();
    startSound();
    if (button.hasPointerCapture(e.pointerId)) button.releasePointerCapture(e.pointerId);
    moveFinger(e.pointerId, button);
  });
  document.addEventListener('pointermove', (e) => {
    if (fingerOn.has(e.pointerId)) moveFinger(e.pointerId, buttonAt(e.clientX, e.clientY));
  });
  for (const type of ['pointerup', 'pointercancel'])
    document.addEventListener(type, (e) => moveFinger(e.pointerId, null));
  pad.addEventListener('contextmenu', (e) => e.preventDefault());
  function showTouch() {
    if (document.body.classList.contains('touch')) return;
    document.body.classList.add('touch');
    fitCanvas();
  }
  if (matchMedia('(pointer: coarse)').matches || navigator.maxTouchPoints > 0) showTouch();
  window.addEventListener('touchstart', showTouch, { passive: true });

  // ---- Game controllers ----

  const PAD_BUTTONS = [0, 1, 8, 14, 15];  // south, east, back, left, right
  const PAD_START = 9;                      // the pause control
  const pads = [];

  function pollPads() {
    if (!navigator.getGamepads || !game) return;
    const now = navigator.getGamepads();
    for (let i = 0; i < Math.max(now.length, pads.length); ++i) {
      const p = now[i];
      if (!p || !p.connected) {
        if (pads[i]) game._web_pad_removed(i);
        pads[i] = null;
        continue;
      }
      const s = pads[i] || (pads[i] = { buttons: {}, stick: 0 });
      const start = !!(p.buttons[PAD_START] && p.buttons[PAD_START].pressed);
      if (start && !s.buttons[PAD_START]) togglePause();
      s.buttons[PAD_START] = start;
      for (const b of PAD_BUTTONS) {
        const down = !!(p.buttons[b] && p.buttons[b].pressed);
        if (down !== !!s.buttons[b]) {
          s.buttons[b] = down;
          game._web_pad(i, b, down ? 1 : 0);
        }
      }
      const x = Math.round(Math.max(-1, Math.min(1, p.axes[0] || 0)) * 32767);
      if (x !== s.stick) {
        s.stick = x;
        game._web_stick(i, x);
      }
    }
  }

  // ---- Message boxes ----

  function messageBox(text, caption, done) {
    $('box-caption').textContent = caption;
    $('box-text').textContent = text;
    box.addEventListener('close', () => done(), { once: true });
    box.showModal();
  }

  // ---- The game's runs ----

  let lastShown = 0;
  const page = {
    waitUntil,
    messageBox,
    createCanvas(width, height) {
      canvas.width = width;
      canvas.height = height;
      picture = context.createImageData(width, height);
      fitCanvas();
      return true;
    },
    showRows(rgba, width, top, height) {
      picture.data.set(rgba, top * width * 4);
      context.putImageData(picture, 0, 0, 0, top, width, height);
    },
    toggleFullscreen,
    presentBegun(present, hash) {
      test.presents = present;
      if (hash !== null) {
        test.hashes.push(hash);
        if (lastShown) test.workMs.push(performance.now() - lastShown);
      }
    },
    gameState(mode, keys, shipX) {
      test.mode = mode;
      test.keys = keys;
      test.shipX = shipX;
    },
    presentShown() {
      lastShown = performance.now();
      if (test.firstFrameMs === null) test.firstFrameMs = lastShown;
      if (options.testing) test.shownAt.push(lastShown);
    },
    pollPads,
    // Quitting (Escape, "Salir") ends a pause at once, so the game can go.
    pauseLifted() {
      setPause(PAUSE_BY_PLAYER | PAUSE_BY_PAGE_HIDDEN, false, true);
    },
    openAudio,
    writeAudio,
    closeAudio,
  };

  async function run() {
    $('end').hidden = true;
    Object.assign(test, { presents: 0, hashes: [], ended: false, status: null, audioPeak: 0,
                          shownAt: [], workMs: [] });
    lastShown = 0;
    const module = await createZarvox({
      page,
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      preRun: [(m) => attachPlayData(m)],
    });
    module._web_configure(options.ms, options.fast ? 1 : 0, options.frames, options.start,
                          options.stage, options.score, options.testing ? 1 : 0);
    if (scriptText !== null) {
      const bytes = new TextEncoder().encode(scriptText);
      const at = module._malloc(bytes.length + 1);
      module.HEAPU8.set(bytes, at);
      module.HEAPU8[at + bytes.length] = 0;
      const error = module._web_load_script(at, bytes.length);
      const reason = error ? module.UTF8ToString(error) : '';
      module._free(at);
      if (reason) return fail(`keys=${options.keys}: ${reason}`);
    }
    game = module;
    if (pause.reasons) module._web_pause_game(pause.reasons, 1);
    let status = 1;
    try {
      status = await module.ccall('web_run', 'number', [], [], { async: true });
    } catch (e) {
      console.error('zarvox: the game stopped: ' + e);
    }
    game = null;
    setPause(PAUSE_BY_PLAYER, false);
    heldKeys.clear();
    for (const id of Array.from(fingerOn.keys())) moveFinger(id, null);
    closeAudio();
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    test.status = status;
    test.ended = true;
    $('end').hidden = false;
    $('again').focus();
  }

  async function main() {
    try {
      options = readQuery(location.search);
    } catch (e) {
      return fail(e.message);
    }
    if (options.keys !== null) {
      try {
        const response = await fetch(options.keys, { cache: 'no-store' });
        if (!response.ok) throw new Error(`HTTP ${response.status}`);
        scriptText = await response.text();
      } catch (e) {
        return fail(`keys=${options.keys} cannot be read (${e.message})`);
      }
    }
    await run();
  }

  $('again').addEventListener('click', () => { startSound(); run(); });
  $('fullscreen').addEventListener('click', toggleFullscreen);
  $('fullscreen').hidden = !document.fullscreenEnabled;
  $('pause').addEventListener('click', togglePause);
  $('mute').addEventListener('click', () => { toggleMute(); startSound(); });
  loadSettings();
  // Installed and offline: the service worker keeps the page's files.
  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    navigator.serviceWorker.register('sw.js').catch((e) =>
      console.warn('zarvox: works online only: ' + e));
  }
  window.addEventListener('resize', fitCanvas);
  document.addEventListener('fullscreenchange', fitCanvas);
  fitCanvas();
  main();
})();
