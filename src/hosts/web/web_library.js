// The host's calls into the page. Each hands over to the page's own object
// (Module.page, given when the game is made), which owns the canvas, the
// dialog, the controllers and the sound.
mergeInto(LibraryManager.library, {
  web_now_ms: function() {
    return performance.now();
  },
  web_local_ms: function() {
    return new Date().getMilliseconds();
  },
  web_sleep_until: function(target) {
    return Asyncify.handleSleep(function(wakeUp) {
      Module.page.waitUntil(target, wakeUp);
    });
  },
  web_yield: function() {
    return Asyncify.handleSleep(function(wakeUp) {
      Module.page.waitUntil(0, wakeUp);
    });
  },
  web_message_box: function(text, caption) {
    var t = UTF8ToString(text);
    var c = UTF8ToString(caption);
    return Asyncify.handleSleep(function(wakeUp) {
      Module.page.messageBox(t, c, wakeUp);
    });
  },
  web_create_canvas: function(width, height) {
    return Module.page.createCanvas(width, height) ? 1 : 0;
  },
  web_show_rows: function(rgba, width, top, height) {
    Module.page.showRows(HEAPU8.subarray(rgba + top * width * 4, rgba + (top + height) * width * 4),
                         width, top, height);
  },
  web_toggle_fullscreen: function() {
    Module.page.toggleFullscreen();
  },
  web_present_begun: function(present, hash, hashed) {
    Module.page.presentBegun(present, hashed ? ('0000000' + (hash >>> 0).toString(16)).slice(-8) : null);
  },
  web_game_state: function(mode, keys, shipX) {
    Module.page.gameState(mode, keys >>> 0, shipX);
  },
  web_present_shown: function() {
    Module.page.presentShown();
  },
  web_poll_pads: function() {
    Module.page.pollPads();
  },
  web_pause_lifted: function() {
    Module.page.pauseLifted();
  },
  web_audio_open: function(rate, reason, reasonSize) {
    var why = Module.page.openAudio(rate);
    if (!why) return 1;
    stringToUTF8(why, reason, reasonSize);
    return 0;
  },
  web_audio_write: function(frames, count) {
    Module.page.writeAudio(HEAP16.subarray(frames >> 1, (frames >> 1) + count * 2));
  },
  web_audio_close: function() {
    Module.page.closeAudio();
  },
});
