// tunora serve with real parts: mpv with its MPRIS script on a session bus
// of the test's own plays two samples; headless Chromium opens the served
// page. When mpv goes to the next song, the same document shows the new
// title within a second: the page is swapped, not reloaded, so the
// document's time origin stays.
//
// Usage: node serve.mjs TUNORA_BINARY SAMPLES_FOLDER
// Exit status 0 when all checks pass, 1 when one fails, 77 when Chromium,
// playwright-core, mpv, mpv-mpris or dbus is missing.

import { execFileSync, spawn } from "node:child_process";
import { copyFileSync, existsSync, mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

import { launchChromium, SKIP } from "./chromium.mjs";
import { check, finish } from "./checks.mjs";

const [tunora, samples] = process.argv.slice(2);
if (!tunora || !samples) {
  console.error("usage: node serve.mjs TUNORA_BINARY SAMPLES_FOLDER");
  process.exit(2);
}
const mprisScript = "/usr/lib/mpv-mpris/mpris.so";
function have(program) {
  try {
    execFileSync("sh", ["-c", `command -v ${program}`], { stdio: "ignore" });
    return true;
  } catch {
    return false;
  }
}
for (const program of ["mpv", "dbus-daemon", "dbus-send"]) {
  if (!have(program)) {
    console.log(`skipped: no ${program}`);
    process.exit(SKIP);
  }
}
if (!existsSync(mprisScript)) {
  console.log(`skipped: no ${mprisScript} (mpv-mpris)`);
  process.exit(SKIP);
}

const work = mkdtempSync(join(tmpdir(), "tunora-serve-e2e-"));
const first = join(work, "01 - Morning Tone.mp3");
const second = join(work, "02 - Noon Tone.ogg");
copyFileSync(join(samples, "01 - Morning Tone.mp3"), first);
copyFileSync(join(samples, "02 - Noon Tone.ogg"), second);
copyFileSync(join(samples, "folder.jpg"), join(work, "folder.jpg"));

const children = [];
// Whatever ends the process (the tally, an error, a skip once the browser
// turns out to be missing) ends what it started and removes its folder.
process.on("exit", () => {
  for (const child of [...children].reverse()) if (child.exitCode === null) child.kill("SIGTERM");
  rmSync(work, { recursive: true, force: true });
});
function start(argv, env = {}) {
  const child = spawn(argv[0], argv.slice(1), {
    env: { ...process.env, ...env },
    stdio: ["ignore", "pipe", "pipe"],
  });
  children.push(child);
  let output = "";
  child.stdout.on("data", (data) => (output += data));
  child.stderr.on("data", (data) => (output += data));
  return { child, output: () => output };
}
function waitForOutput(started, pattern, ms) {
  return new Promise((resolve, reject) => {
    const end = Date.now() + ms;
    const poll = () => {
      const found = started.output().match(pattern);
      if (found) return resolve(found);
      if (Date.now() > end) return reject(new Error(`no ${pattern} in: ${started.output()}`));
      setTimeout(poll, 20);
    };
    poll();
  });
}


let browser;
try {
  const bus = start(["dbus-daemon", "--session", "--nofork", "--print-address",
                     `--address=unix:path=${join(work, "bus")}`]);
  const address = (await waitForOutput(bus, /unix:path=[^\n]+/, 5000))[0];
  const env = { DBUS_SESSION_BUS_ADDRESS: address };
  const serve = start([tunora, "serve", "--listen", "127.0.0.1:0", "--template", "overlay"], env);
  const url = (await waitForOutput(serve, /http:\/\/127\.0\.0\.1:[0-9]+\//, 5000))[0];
  start(["mpv", "--no-config", `--script=${mprisScript}`, "--no-video", "--ao=null",
         "--loop-file=inf", "--really-quiet", first, second], env);
  await waitForOutput(serve, /Serving the page of/, 10000);

  browser = await launchChromium(join(work, "profile"));
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForFunction(() => document.body.innerText.includes("Morning Tone"), null, {
    timeout: 5000,
  });
  const origin = await page.evaluate(() => performance.timeOrigin);
  const coverShown = await page.evaluate(() => {
    const cover = document.querySelector("img.cover");
    return cover !== null && cover.complete && cover.naturalWidth > 0;
  });
  check("the first page shows its cover", coverShown);

  execFileSync("dbus-send", ["--session", "--dest=org.mpris.MediaPlayer2.mpv",
                             "--type=method_call", "/org/mpris/MediaPlayer2",
                             "org.mpris.MediaPlayer2.Player.Next"], { env: { ...process.env, ...env } });
  const asked = Date.now();
  let shown = true;
  try {
    await page.waitForFunction(() => document.body.innerText.includes("Noon Tone"), null, {
      timeout: 1000,
      polling: 10,
    });
  } catch {
    shown = false;
  }
  check("the new title shows within 1 s", shown, `${Date.now() - asked} ms`);
  console.log(`new title after ${Date.now() - asked} ms`);
  check("the document was not reloaded",
        (await page.evaluate(() => performance.timeOrigin)) === origin);
  check("the title of the document follows",
        (await page.evaluate(() => document.title)).includes("Noon Tone"));

  serve.child.kill("SIGTERM");
  const status = await new Promise((resolve) => serve.child.on("exit", (code) => resolve(code)));
  check("SIGTERM ends serve with status 0", status === 0, `status ${status}`);
} catch (error) {
  check(error.message, false);
} finally {
  if (browser) await browser.close();
}
finish();
