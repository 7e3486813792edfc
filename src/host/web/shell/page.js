// Swarm!'s page: the canvas at the window's size, keys, pads and touches as
// the game's keys, the sound player, the high score kept in the browser's
// storage, fullscreen, the messages, and the buttons that watch recorded runs
// (their links and the best game: replays.js). The game itself is swarm.js.
"use strict";

(function () {
  const canvas = document.getElementById("canvas");
  const message = document.getElementById("message");
  // Keys and pads as the game reads them: the game hands its tables to the
  // page as it starts (host/key_table.h, host/pad_table.h).
  const keyCodes = new Map(); // KeyboardEvent.code -> virtual-key code
  let otherKey = 0; // the code of every other key
  const padTable = {
    keys: [], // bit n -> virtual-key code
    buttons: new Map(), // standard mapping's button index -> bits held
    press: 1, // the stick presses beyond this share of its travel
    release: 1, // and lets go within this one
    left: 0, // bits the stick holds
    right: 0,
    other: 0, // bits every other button holds
  };

  // --- Messages ---
  function showMessage(text) {
    message.textContent = text;
    message.hidden = false;
  }

  // --- The canvas: as large as the window, in device pixels, so that the
  // picture is sharp at any devicePixelRatio. ---
  function fitCanvas() {
    const ratio = window.devicePixelRatio || 1;
    const width = Math.max(1, Math.round(canvas.clientWidth * ratio));
    const height = Math.max(1, Math.round(canvas.clientHeight * ratio));
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
      // Sized anew, the canvas is blank until the picture is shown again.
      if (window.Module && Module._pageRedraw) Module._pageRedraw();
    }
  }
  window.addEventListener("resize", fitCanvas);

  // --- Sound: Web Audio, made by the first key press or tap and woken again
  // by every later one while the browser keeps it suspended (made outside a
  // user activation, a phone call, a tab in the background). ---
  const audio = {
    context: null,
    buffers: new Map(), // id -> {rate, channels, samples}
    playing: [], // per channel: {source, gain}
    started: 0, // sounds started, for the tests
    fadeSeconds: 0, // the fade of a replaced sound, as the game gives it
    open(fadeSeconds) {
      this.fadeSeconds = fadeSeconds;
      return typeof (window.AudioContext || window.webkitAudioContext) === "function";
    },
    start() {
      if (this.context) return;
      try {
        this.context = new (window.AudioContext || window.webkitAudioContext)();
      } catch (e) {
        this.context = null;
      }
    },
    // Called on each user activation, and when the page shows again.
    wake() {
      this.start();
      if (this.context && this.context.state !== "running") this.context.resume().catch(() => {});
    },
    store(id, rate, channels, samples) {
      this.buffers.set(id, { rate, channels, samples: new Float32Array(samples) });
    },
    bufferOf(id) {
      const sound = this.buffers.get(id);
      if (!sound) return null;
      if (!sound.buffer) {
        const frames = sound.samples.length / sound.channels;
        const buffer = this.context.createBuffer(sound.channels, frames, sound.rate);
        for (let c = 0; c < sound.channels; ++c) {
          const data = buffer.getChannelData(c);
          for (let f = 0; f < frames; ++f) data[f] = sound.samples[f * sound.channels + c];
        }
        sound.buffer = buffer;
      }
      return sound.buffer;
    },
    play(id, channel) {
      if (!this.context || this.context.state !== "running") return;
      const buffer = this.bufferOf(id);
      if (!buffer) return;
      const now = this.context.currentTime;
      const old = this.playing[channel];
      if (old) {
        // The old sound fades out instead of stopping mid-waveform.
        old.gain.gain.setValueAtTime(old.gain.gain.value, now);
        old.gain.gain.linearRampToValueAtTime(0, now + this.fadeSeconds);
        old.source.stop(now + this.fadeSeconds + 0.001);
      }
      const source = this.context.createBufferSource();
      const gain = this.context.createGain();
      source.buffer = buffer;
      source.connect(gain).connect(this.context.destination);
      source.start(now);
      this.playing[channel] = { source, gain };
      ++this.started;
    },
    close() {
      for (const p of this.playing) if (p) p.source.stop();
      this.playing = [];
    },
  };
  window.swarmAudio = audio;
  // The events that count as a user activation: Escape and a touch's
  // pointerdown do not, and sound made or resumed there stays suspended.
  window.addEventListener("keydown", (event) => {
    if (event.code !== "Escape") audio.wake();
  }, true);
  for (const type of ["pointerup", "click", "touchend"])
    window.addEventListener(type, () => audio.wake(), true);
  function wakeShown() {
    const active = !navigator.userActivation || navigator.userActivation.hasBeenActive;
    if (document.visibilityState === "visible" && audio.context && active) audio.wake();
  }
  document.addEventListener("visibilitychange", wakeShown);
  window.addEventListener("pageshow", wakeShown);

  // --- The high score: HighScore.dat of the game's directory, kept in
  // IndexedDB and, because the page may be closed before an IndexedDB write
  // ends, in localStorage too. Each copy is read as the game reads its file,
  // and the higher score wins: at the start, and at every save, which never
  // lowers what either store holds (another tab may have kept a higher one). ---
  const scoreFile = "/swarm/HighScore.dat";
  const localKey = "swarm.HighScore.dat";
  const unsavedNote = "Your high score could not be saved: this browser refuses storage to the page.";

  // The high score a copy holds, read by the game's own reader; -1 for none.
  function scoreOf(copy) {
    if (!copy || !copy.bytes) return -1;
    Module.HEAPU8.set(copy.bytes.subarray(0, Module._pageCopyRoom()), Module._pageCopyBuffer());
    return Module._pageScoreOf(copy.bytes.length);
  }
  // The copy to keep of two: the higher score, `a` when they hold the same.
  const better = (a, b) => (scoreOf(b) > scoreOf(a) ? b : a);
  function copyOf(saved) {
    try {
      return saved && saved.bytes ? { savedAt: saved.savedAt, bytes: new Uint8Array(saved.bytes) } : null;
    } catch (e) {
      return null;
    }
  }

  const store = {
    db: null,
    opening: null,
    found: [], // the copies read at the start
    restored: false, // nothing is saved before the copies found were compared
    openDb() {
      if (this.opening) return this.opening;
      this.opening = new Promise((resolve) => {
        try {
          const request = indexedDB.open("swarm", 1);
          request.onupgradeneeded = () => request.result.createObjectStore("files");
          request.onsuccess = () => resolve((this.db = request.result));
          request.onerror = () => resolve(null);
          request.onblocked = () => resolve(null);
        } catch (e) {
          resolve(null);
        }
      });
      return this.opening;
    },
    readDb() {
      return new Promise((resolve) => {
        if (!this.db) return resolve(null);
        try {
          const request = this.db.transaction("files").objectStore("files").get("HighScore.dat");
          request.onsuccess = () => resolve(copyOf(request.result));
          request.onerror = () => resolve(null);
        } catch (e) {
          resolve(null);
        }
      });
    },
    readLocal() {
      try {
        const saved = JSON.parse(localStorage.getItem(localKey));
        if (!saved || typeof saved.data !== "string") return null;
        const binary = atob(saved.data);
        return { savedAt: saved.savedAt, bytes: Uint8Array.from(binary, (c) => c.charCodeAt(0)) };
      } catch (e) {
        return null;
      }
    },
    // localStorage is read, compared and written at once, so that even a page
    // being closed keeps the higher copy. The copy it holds now, or null when
    // it refuses.
    keepLocal(copy) {
      const kept = better(copy, this.readLocal());
      if (kept !== copy) return kept;
      try {
        const data = btoa(String.fromCharCode(...copy.bytes));
        localStorage.setItem(localKey, JSON.stringify({ savedAt: copy.savedAt, data }));
        return copy;
      } catch (e) {
        return null; // refused (a private window, a full quota)
      }
    },
    // IndexedDB reads, compares and writes in one transaction, so that no
    // other tab's save comes in between. Resolves to the copy it holds then,
    // or null when it refuses.
    keepDb(copy) {
      const keep = (db) =>
        new Promise((resolve) => {
          if (!db) return resolve(null);
          let kept = copy;
          try {
            const transaction = db.transaction("files", "readwrite");
            const files = transaction.objectStore("files");
            const request = files.get("HighScore.dat");
            request.onsuccess = () => {
              kept = better(copy, copyOf(request.result));
              if (kept === copy) files.put({ savedAt: copy.savedAt, bytes: copy.bytes }, "HighScore.dat");
            };
            transaction.oncomplete = () => resolve(kept);
            transaction.onabort = () => resolve(null);
          } catch (e) {
            resolve(null);
          }
        });
      return this.db ? keep(this.db) : this.openDb().then(keep);
    },
    // Keeps a new HighScore.dat, or the higher copy a store holds, in both
    // stores. Resolves to false when neither store takes it.
    save(bytes) {
      const copy = { savedAt: Date.now(), bytes };
      const local = this.keepLocal(copy);
      const inDb = this.keepDb(local || copy).then((kept) => {
        if (kept && kept !== (local || copy)) this.keepLocal(kept); // IndexedDB held a higher one
        return kept !== null;
      });
      return local ? Promise.resolve(true) : inDb;
    },
  };

  // Keeps the game's HighScore.dat, when there is one, in both stores;
  // resolves to false when neither takes it.
  function keepHighScore() {
    if (!store.restored) return Promise.resolve(true); // nothing compared yet: nothing saved
    let bytes;
    try {
      bytes = Module.FS.readFile(scoreFile);
    } catch (e) {
      return Promise.resolve(true); // no file written yet
    }
    return store.save(bytes);
  }

  // Reads both stores before the game starts; a store slower than 2 s is not
  // waited for (its copy still counts when the next save compares).
  async function restoreHighScore() {
    const within = (promise) =>
      Promise.race([promise, new Promise((resolve) => setTimeout(() => resolve(null), 2000))]);
    await within(store.openDb());
    store.found = [await within(store.readDb()), store.readLocal()];
  }

  // The higher copy found becomes the game's HighScore.dat, before it reads it.
  function placeHighScore() {
    const kept = better(...store.found);
    Module.FS.mkdirTree("/swarm");
    if (kept && kept.bytes.length) Module.FS.writeFile(scoreFile, kept.bytes);
    store.restored = true;
  }

  // A save refused on leaving: said when the player is back, for a few
  // seconds, while the game plays on.
  function noteUnsaved() {
    if (quitShown) return;
    showMessage(unsavedNote);
    const hide = () => {
      if (document.visibilityState !== "visible") return;
      document.removeEventListener("visibilitychange", hide);
      setTimeout(() => {
        if (!quitShown && message.textContent === unsavedNote) message.hidden = true;
      }, 6000);
    };
    document.addEventListener("visibilitychange", hide);
    hide();
  }

  // --- Keys: by KeyboardEvent.code, so keyboard layouts do not matter. ---
  function virtualKey(code) {
    return keyCodes.has(code) ? keyCodes.get(code) : otherKey;
  }
  // Keys that would scroll the page.
  const scrollKeys = new Set(["Space", "Escape", "ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown"]);

  let running = false; // a game of the player's runs; false before it starts and after it quit
  let watching = false; // a recorded run plays
  let quitShown = false; // the page offers to play: any key or tap starts a run

  // Returns whether the key reached the game.
  function sendKey(down, key) {
    if (running) Module._pageKey(down ? 1 : 0, key);
    return running;
  }

  // iPhones, for one, offer no fullscreen to a page.
  const fullscreenOffered =
    typeof document.documentElement.requestFullscreen === "function" && document.fullscreenEnabled;

  function toggleFullscreen() {
    if (!fullscreenOffered) return;
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    else document.documentElement.requestFullscreen().catch(() => {});
  }

  const keysSent = new Set(); // codes of the keys whose press reached the game

  function onKey(event) {
    const down = event.type === "keydown";
    if (!down && keysSent.has(event.code)) {
      // A press that reached the game gets its release, whatever else is held.
      keysSent.delete(event.code);
      sendKey(false, virtualKey(event.code));
      return;
    }
    if (event.altKey || event.key === "Alt" || event.code === "F10") {
      // Alt+Enter toggles fullscreen, asked for inside the key's own handler.
      if (down && !event.repeat && (event.code === "Enter" || event.code === "NumpadEnter")) {
        toggleFullscreen();
        event.preventDefault();
      }
      return;
    }
    if (event.ctrlKey || event.metaKey) return; // the browser's own shortcuts
    const key = virtualKey(event.code);
    if (scrollKeys.has(event.code)) event.preventDefault(); // the page never scrolls
    if (!down) return; // a release of a press the game never had
    if (quitShown) restart();
    else if (watching) {
      if (event.code === "Escape") stopWatching();
    } else if (sendKey(true, key)) keysSent.add(event.code);
  }
  window.addEventListener("keydown", onKey);
  window.addEventListener("keyup", onKey);
  window.addEventListener("blur", () => {
    if (running) Module._pageFocusLost();
    // Whatever is still held presses anew when the page has the focus again.
    keysSent.clear();
    padHeld = 0;
    releaseTouch();
  });

  // --- Gamepads (standard mapping), as the game's pad table maps them: D-pad
  // or left stick to move, the south button for Space, Start for Escape, any
  // other button only skips the intro. ---
  let padHeld = 0;
  const stickOf = new Map(); // pad index -> -1, 0, 1
  function pollPads() {
    const pads = navigator.getGamepads ? navigator.getGamepads() : [];
    let held = 0;
    for (const pad of pads) {
      if (!pad || !pad.connected || pad.mapping !== "standard") continue;
      const pressed = (i) => pad.buttons[i] && pad.buttons[i].pressed;
      let stick = stickOf.get(pad.index) || 0;
      const x = pad.axes[0] || 0;
      if (Math.abs(x) > padTable.press) stick = x < 0 ? -1 : 1;
      else if (Math.abs(x) < padTable.release) stick = 0;
      stickOf.set(pad.index, stick);
      if (stick < 0) held |= padTable.left;
      if (stick > 0) held |= padTable.right;
      for (let i = 0; i < pad.buttons.length; ++i) {
        if (!pressed(i)) continue;
        if (padTable.buttons.has(i)) held |= padTable.buttons.get(i);
        // Triggers (6, 7) are axes to the native game: they press nothing.
        else if (i !== 6 && i !== 7) held |= padTable.other;
      }
    }
    if (held !== padHeld) {
      // Releases first, then presses, as the native game sends them.
      for (const pressing of [false, true])
        for (let bit = 0; bit < padTable.keys.length; ++bit) {
          const now = (held >> bit) & 1;
          if (now === ((padHeld >> bit) & 1) || (now === 1) !== pressing) continue;
          if (quitShown && now) restart();
          else if (watching && now && padTable.keys[bit] === virtualKey("Escape")) stopWatching();
          else if (!quitShown) sendKey(now === 1, padTable.keys[bit]);
        }
      padHeld = held;
    }
    requestAnimationFrame(pollPads);
  }

  // --- Touch: buttons over the picture's lower corners, on touch screens
  // only. Each pointer that went down on a button is followed to wherever it
  // is, so a button stays held while any finger is on it, two fingers hold
  // two buttons, and a finger slid to another button moves the press. ---
  const touchKeys = { left: "ArrowLeft", right: "ArrowRight", fire: "Space", pause: "Escape" };
  const pointerOn = new Map(); // pointer id -> the button under it, or null
  let touchHeld = new Set(); // buttons held, their presses sent

  function buttonAt(x, y) {
    const element = document.elementFromPoint(x, y);
    const button = element && element.closest("#touch button[data-key]");
    return button || null;
  }

  function updateTouchKeys() {
    const held = new Set([...pointerOn.values()].filter((button) => button));
    // Releases first, then presses, as for the pads.
    for (const button of touchHeld)
      if (!held.has(button)) {
        button.classList.remove("held");
        sendKey(false, virtualKey(touchKeys[button.dataset.key]));
      }
    for (const button of held)
      if (!touchHeld.has(button)) {
        button.classList.add("held");
        sendKey(true, virtualKey(touchKeys[button.dataset.key]));
      }
    touchHeld = held;
  }

  function releaseTouch() {
    pointerOn.clear();
    touchHeld = new Set();
    for (const button of document.querySelectorAll("#touch .held")) button.classList.remove("held");
  }

  function setUpTouch() {
    const touch = navigator.maxTouchPoints > 0 || "ontouchstart" in window;
    const controls = document.getElementById("touch");
    controls.hidden = !touch;
    controls.addEventListener("pointerdown", (event) => {
      const button = event.target.closest("button[data-key]");
      if (!button) return;
      event.preventDefault();
      if (quitShown) {
        restart();
        return;
      }
      if (watching) {
        if (button.dataset.key === "pause") stopWatching();
        return;
      }
      pointerOn.set(event.pointerId, button);
      updateTouchKeys();
    });
    window.addEventListener("pointermove", (event) => {
      if (!pointerOn.has(event.pointerId)) return;
      pointerOn.set(event.pointerId, buttonAt(event.clientX, event.clientY));
      updateTouchKeys();
    });
    for (const type of ["pointerup", "pointercancel"])
      window.addEventListener(type, (event) => {
        if (!pointerOn.delete(event.pointerId)) return;
        updateTouchKeys();
      });
  }
  const fullscreenButton = document.getElementById("fullscreen");
  fullscreenButton.hidden = !fullscreenOffered;
  fullscreenButton.addEventListener("click", toggleFullscreen);
  canvas.addEventListener("pointerdown", () => {
    if (quitShown) restart();
  });

  // --- Leaving and coming back. ---
  function saveOnLeave() {
    if (!running) return;
    Module._pageSaveHighScore();
    keepRun();
    keepHighScore().then((kept) => kept || noteUnsaved());
  }
  window.addEventListener("pagehide", saveOnLeave);
  document.addEventListener("visibilitychange", () => {
    if (document.visibilityState === "hidden") saveOnLeave();
  });

  function restart() {
    quitShown = false;
    message.hidden = true;
    running = true;
    watching = false;
    replays.forgetAddress();
    showBar();
    Module._pageRestart();
  }

  // --- Recorded runs: every run of the player's is recorded from its start;
  // after a game ends the bar below the picture offers to watch it again or
  // copy its link, and to watch the best game kept. ---
  const replays = window.swarmReplays;
  const bar = document.getElementById("replays");
  const barNote = document.getElementById("replay-note");
  const linkText = document.getElementById("link-text");
  const barButtons = {
    again: document.getElementById("watch-again"),
    copy: document.getElementById("copy-link"),
    best: document.getElementById("watch-best"),
    stop: document.getElementById("stop-watching"),
  };
  let lastRun = null; // the recording of the player's run when its last game ended
  let inGame = false; // the player's game is in play: the bar keeps out of the way

  // The player's run as recorded so far, ending here.
  const runSoFar = () => Module.UTF8ToString(Module._pageRecording());

  // Shows the bar's buttons that apply now; hidden, the picture has the window.
  function showBar(note) {
    barNote.textContent = note || (watching ? "Watching a recorded run. Escape stops it." : "");
    const between = !inGame && !watching;
    barButtons.again.hidden = barButtons.copy.hidden = !(between && lastRun);
    barButtons.best.hidden = !(between && replays.best());
    barButtons.stop.hidden = !watching;
    if (!between || !lastRun) linkText.hidden = true;
    const shown = !!barNote.textContent || [...Object.values(barButtons), linkText].some((b) => !b.hidden);
    if (bar.hidden !== !shown) {
      bar.hidden = !shown;
      document.body.classList.toggle("bar", shown);
      document.body.style.setProperty("--bar-height", `${bar.offsetHeight}px`);
      fitCanvas();
    }
  }

  // The best game is the player's run when it saved a new high score.
  function keepRun() {
    const score = Module._pageHighScore();
    if (score > Module._pageRunStartScore()) replays.keepBest(score, runSoFar());
  }

  // Plays a recording. The player's run (at the title between games) is
  // saved as on leaving, then left.
  const watchedFile = "/watched.keys";
  function watch(text) {
    if (running) saveOnLeave();
    running = false;
    quitShown = false;
    inGame = false;
    message.hidden = true;
    Module.FS.writeFile(watchedFile, text);
    watching = true;
    showBar();
    watching = Module._pageWatch() === 1;
    showBar();
  }

  function offerToPlay(text) {
    watching = false;
    quitShown = true;
    showMessage(`${text} Press any key or tap to play.`);
    showBar();
  }
  function stopWatching() {
    Module._pageStopWatching();
    offerToPlay("You stopped watching.");
  }

  barButtons.again.addEventListener("click", () => watch(lastRun));
  barButtons.best.addEventListener("click", () => {
    const kept = replays.best();
    if (kept) watch(kept.text);
  });
  barButtons.stop.addEventListener("click", stopWatching);
  barButtons.copy.addEventListener("click", async () => {
    const link = await replays.linkOf(lastRun);
    linkText.value = link;
    try {
      await navigator.clipboard.writeText(link);
      linkText.hidden = true;
      showBar("The link is copied.");
    } catch (e) {
      // No clipboard for the page: the link shows, selected, to copy by hand.
      linkText.hidden = false;
      showBar("Copy the link:");
      linkText.select();
    }
  });
  // A click leaves the keyboard's focus where it was, so that Space and
  // Escape stay the game's.
  for (const button of Object.values(barButtons))
    button.addEventListener("mousedown", (event) => event.preventDefault());
  // A link opened in a page already showing the game plays as from the start.
  window.addEventListener("hashchange", () => location.reload());

  // Called by the game (main.cpp).
  window.swarmPage = {
    showMessage,
    framesShown(count) {
      swarmPage.frames += count;
      if (!swarmPage.firstPicture) swarmPage.firstPicture = performance.now();
    },
    gameQuit() {
      running = false;
      quitShown = true;
      inGame = false;
      keepRun();
      const again = "Press any key or tap to play again.";
      showMessage(again);
      showBar();
      keepHighScore().then((kept) => {
        if (quitShown) showMessage(`${kept ? "Your high score is saved." : unsavedNote} ${again}`);
      });
    },
    // The player's game began, or ended (game over, or back to the title).
    gameStarted() {
      inGame = true;
      showBar();
    },
    gameEnded() {
      inGame = false;
      lastRun = runSoFar();
      showBar();
    },
    // A recording refused by the game (another version, a damaged file), or
    // played to its end.
    watchRefused: (why) => offerToPlay(`This run cannot be watched: ${why}.`),
    watchEnded: () => offerToPlay("The run is over."),
    frames: 0,
    firstPicture: 0,
    // The game's key table and pad mapping, as it starts.
    keyCode: (code, key) => keyCodes.set(code, key),
    otherKey: (key) => (otherKey = key),
    padKey: (bit, key) => (padTable.keys[bit] = key),
    padButton: (index, held) => padTable.buttons.set(index, held),
    padStick(press, release, left, right, other) {
      Object.assign(padTable, { press, release, left, right, other });
    },
  };

  // --- Starting: WebGL 2 first, on a canvas of its own so that the game's
  // context keeps its own settings. ---
  const probe = document.createElement("canvas");
  if (!probe.getContext("webgl2")) {
    showMessage(
      "Swarm! needs WebGL 2, which this browser does not offer or has switched off. " +
        "Try a current Firefox, Chrome, Edge or Safari, or turn on hardware acceleration.",
    );
    return;
  }
  fitCanvas();
  setUpTouch();
  let linked = null; // what the page's address holds: a run to watch, or a damaged link
  window.Module = {
    canvas,
    preRun: [
      () => {
        Module.addRunDependency("high score");
        restoreHighScore().finally(() => Module.removeRunDependency("high score"));
        Module.addRunDependency("link");
        replays
          .fromAddress()
          .then((found) => (linked = found))
          .finally(() => Module.removeRunDependency("link"));
      },
    ],
    onRuntimeInitialized() {
      placeHighScore();
      fitCanvas();
      requestAnimationFrame(pollPads);
      // The game starts as the page's address asks: a run to watch, a damaged
      // link, or play.
      if (linked && linked.damaged) {
        Module._pageHold();
        offerToPlay("This link's run is damaged (cut short, or altered), so it cannot be watched.");
      } else if (linked) {
        Module.FS.writeFile(watchedFile, linked.text);
        Module._pageWatchAtStart();
        watching = true;
        showBar();
      } else {
        running = true;
      }
    },
    print: (text) => console.log(text),
    printErr: (text) => console.log(text),
  };
  const script = document.createElement("script");
  script.src = "swarm.js";
  script.onerror = () => showMessage("The game did not load. Reload the page to try again.");
  document.body.appendChild(script);
})();
