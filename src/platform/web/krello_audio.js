// The game's sound in the page: Web Audio pulling the wasm mixer (22,050 Hz stereo), started by
// the first key press or click, as browsers require. The page loads it before krello.js.
//   krelloAudio.configure({ sound: true, volume: 80 })   the page's sound settings
//   krelloAudio.level()                                   the loudest sample the analyser saw last
//   krelloAudio.state()                                   'off', 'waiting', 'running' or 'failed'
(function () {
  'use strict';
  const RATE = 22050;        // the mixer's rate; another context rate is resampled here
  const MOST_FRAMES = 512;   // frames pulled from the mixer at a time (it takes at most 661)
  let context = null;
  let analyser = null;
  let state = 'waiting';
  let wanted = true;         // the sound setting
  let volume = -1;           // the volume setting, -1 for the game's own default

  // Linear resampling from the mixer's rate to the context's, continuous across buffers:
  // source frame 0 is the last one of the buffer before.
  let phase = 0;
  let source = new Float32Array(2 * (MOST_FRAMES + 1));

  function pullInto(frames) {
    if (source.length < 2 * (frames + 1)) {
      const bigger = new Float32Array(2 * (frames + 1));
      bigger.set(source.subarray(0, 2));
      source = bigger;
    }
    for (let done = 0; done < frames;) {
      const n = Math.min(MOST_FRAMES, frames - done);
      const at = Module._krello_audio_pull(n) >> 1;
      const samples = Module.HEAP16;
      for (let i = 0; i < 2 * n; ++i) source[2 * (done + 1) + i] = at ? samples[at + i] / 32768 : 0;
      done += n;
    }
  }

  function fill(event) {
    const left = event.outputBuffer.getChannelData(0);
    const right = event.outputBuffer.getChannelData(1);
    const n = left.length;
    const step = RATE / context.sampleRate;
    const need = Math.floor(phase + (n - 1) * step) + 1;
    pullInto(need);
    for (let i = 0; i < n; ++i) {
      const p = phase + i * step;
      const j = Math.floor(p);
      const f = p - j;
      left[i] = source[2 * j] + (source[2 * j + 2] - source[2 * j]) * f;
      right[i] = source[2 * j + 1] + (source[2 * j + 3] - source[2 * j + 1]) * f;
    }
    phase += n * step - need;
    source[0] = source[2 * need];
    source[1] = source[2 * need + 1];
  }

  function noSound(why) {
    state = 'failed';
    const line = 'krello: no sound: ' + why;
    if (window.Module && Module.printErr) Module.printErr(line); else console.warn(line);
  }

  function start() {
    if (context || !wanted) {
      if (context && context.state === 'suspended') context.resume();
      return;
    }
    if (!window.Module || !Module._krello_audio_pull) return;  // the game is not loaded yet
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return noSound('this browser has no Web Audio');
    try {
      try { context = new Context({ sampleRate: RATE, latencyHint: 'interactive' }); }
      catch (e) { context = new Context(); }  // a browser that will not run at 22,050 Hz: resampled
      // About 23 ms a buffer at the context's rate (a power of two, as the processor needs).
      const size = context.sampleRate <= 24000 ? 512 : context.sampleRate <= 48000 ? 1024 : 2048;
      const processor = context.createScriptProcessor(size, 1, 2);
      processor.onaudioprocess = fill;
      analyser = context.createAnalyser();
      analyser.fftSize = 2048;
      processor.connect(analyser);
      analyser.connect(context.destination);
      Module._krello_audio_configure(1, volume);
      Module._krello_audio_started();
      context.resume();
      state = 'running';
    } catch (e) {
      context = null;
      noSound(e.message);
    }
  }

  window.addEventListener('keydown', start, true);
  window.addEventListener('pointerdown', start, true);

  window.krelloAudio = {
    configure(settings) {
      if ('sound' in settings) wanted = !!settings.sound;
      if ('volume' in settings) volume = settings.volume;
      if (window.Module && Module._krello_audio_configure) Module._krello_audio_configure(wanted ? 1 : 0, volume);
      if (!context) { if (state !== 'failed') state = wanted ? 'waiting' : 'off'; return; }
      if (wanted) context.resume(); else context.suspend();
      state = wanted ? 'running' : 'off';
    },
    level() {
      if (!analyser) return 0;
      const data = new Float32Array(analyser.fftSize);
      analyser.getFloatTimeDomainData(data);
      let peak = 0;
      for (const x of data) peak = Math.max(peak, Math.abs(x));
      return peak;
    },
    state() { return state; },
    sampleRate() { return context ? context.sampleRate : 0; },
  };
})();
