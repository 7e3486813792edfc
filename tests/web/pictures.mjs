// The browser build draws what the native game draws: pictures of the same
// passes of the recorded games (intro, title, wave banner, play, tally, the
// ship's explosion, game over, pause) from swarm-web-replay and swarm-replay,
// compared pixel by pixel. Prints the share of pixels within 8 levels in
// every channel; fails below 99 %. PROGRAM, when given, is compared instead
// of swarm-web-replay (tests/windows/pictures.sh: swarm-replay.exe under Wine).
//   node tests/web/pictures.mjs NATIVE_BUILD WEB_BUILD [PROGRAM]
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, symlinkSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";

const [nativeBuild, webBuild, program] = process.argv.slice(2).map((p) => resolve(p));
const other = program ?? join(webBuild, "swarm-web-replay");
const source = resolve(import.meta.dirname, "../..");
const work = mkdtempSync(join(tmpdir(), "swarm-web-pictures-"));
const dataFiles = readFileSync(join(nativeBuild, "data-files.txt"), "utf8").split("\n").filter(Boolean);

// A directory of the game's data of its own for each run.
function dataDir(name) {
  const dir = join(work, name);
  execFileSync("mkdir", ["-p", dir]);
  for (const file of dataFiles) symlinkSync(join(nativeBuild, "data", file), join(dir, file));
  return dir;
}

// Runs the whole game, or its first `passes` passes.
function replay(program, game, extra, passes) {
  const expected = readFileSync(join(source, "tests/replays", `${game}.expected`), "utf8");
  const frames = passes ?? /^frames (\d+)$/m.exec(expected)[1];
  const time = /^time (\d+)$/m.exec(expected)[1];
  return execFileSync(
    program,
    ["--data", dataDir(`${game}-${Math.random()}`), "--keys", join(source, "tests/replays", `${game}.keys`),
      "--time", time, "--frames", frames, ...extra],
    { maxBuffer: 1 << 30, encoding: "utf8" },
  );
}

// The first pass of each screen in a game's trace, a few passes in.
const screens = {
  intro: (s) => s.gameState === 1 && s.pass >= 120,
  title: (s) => s.gameState === 2 && !s.fading && s.creditsX < 600,
  "wave banner": (s) => s.gameState === 4 && s.waveBanner && s.ship.entryPhase === 3,
  play: (s) => s.gameState === 4 && !s.waveBanner && s.ship.active && s.enemiesOnScreen > 3,
  tally: (s) => s.waveCleared && s.screenTimer > 150,
  "ship's explosion": (s) => s.ship.exploding && s.ship.explosionFrame === 2,
  "game over": (s) => s.gameOver && s.screenTimer > 100,
  pause: (s) => s.paused,
};

const wanted = new Map(); // screen -> {game, pass}
for (const game of ["clears_wave_extra_ship", "lost_without_firing", "paused_and_quit"]) {
  const trace = replay(join(nativeBuild, "tools/replay/swarm-replay"), game, ["--trace", "-"]);
  for (const line of trace.split("\n")) {
    if (!line) continue;
    const state = JSON.parse(line);
    for (const [screen, shows] of Object.entries(screens))
      if (!wanted.has(screen) && shows(state)) wanted.set(screen, { game, pass: state.pass + 3 });
  }
}

function pixels(file) {
  return execFileSync("convert", [file, "-depth", "8", "rgb:-"], { maxBuffer: 1 << 26 });
}

// Each program plays each game once, taking all of its pictures.
const files = (tool, screen) => join(work, `${tool}-${screen.replace(/\W/g, "_")}.png`);
for (const game of new Set([...wanted.values()].map((shot) => shot.game))) {
  const shots = [...wanted].filter(([, shot]) => shot.game === game);
  const last = Math.max(...shots.map(([, shot]) => shot.pass));
  for (const [tool, program] of [
    ["native", join(nativeBuild, "tools/replay/swarm-replay")],
    ["other", other],
  ])
    replay(program, game, shots.flatMap(([screen, shot]) =>
      ["--screenshot", `${shot.pass}:${files(tool, screen)}`]), last + 1);
}

let failed = 0;
for (const screen of Object.keys(screens)) {
  const shot = wanted.get(screen);
  if (!shot) {
    console.log(`FAIL: no pass of the recorded games shows the ${screen}`);
    ++failed;
    continue;
  }
  const a = pixels(files("native", screen)), b = pixels(files("other", screen));
  let close = 0;
  for (let i = 0; i < a.length; i += 3)
    if (Math.abs(a[i] - b[i]) <= 8 && Math.abs(a[i + 1] - b[i + 1]) <= 8 && Math.abs(a[i + 2] - b[i + 2]) <= 8)
      ++close;
  const share = (100 * close) / (a.length / 3);
  const ok = a.length === b.length && share >= 99;
  if (!ok) ++failed;
  console.log(`${ok ? "ok" : "FAIL"}: ${screen} (${shot.game}, pass ${shot.pass}): ` +
    `${share.toFixed(3)} % of pixels within 8 levels`);
}
if (process.env.SWARM_KEEP_PICTURES) console.log(`pictures kept in ${work}`);
else rmSync(work, { recursive: true, force: true });
process.exitCode = failed ? 1 : 0;
