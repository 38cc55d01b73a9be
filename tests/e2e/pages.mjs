// Opens a directory page and a single-track page made by `tunora page` in
// headless Chromium and checks what a person would see: no template token
// left, every file of the folder listed, the titles the readers find, and
// every cover picture loaded.
//
// Usage: node pages.mjs TUNORA_BINARY SAMPLES_FOLDER
// Exit status 0 when all checks pass, 1 when one fails, 77 when Chromium or
// playwright-core is missing (the test then counts as skipped).

import { execFileSync } from "node:child_process";
import { cpSync, mkdtempSync, readdirSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

import { launchChromium } from "./chromium.mjs";
import { check, finish } from "./checks.mjs";

const [tunora, samples] = process.argv.slice(2);
if (!tunora || !samples) {
  console.error("usage: node pages.mjs TUNORA_BINARY SAMPLES_FOLDER");
  process.exit(2);
}

const work = mkdtempSync(join(tmpdir(), "tunora-e2e-"));
const music = join(work, "music");
cpSync(samples, music, { recursive: true });
const musicFiles = readdirSync(music).filter((name) => /\.(mp3|ogg|flac|m4a|mp4|aac|mpc)$/.test(name));

// The titles that the readers of this build find; "Unknown" where a reader
// is still missing, and then the file name is what identifies the track.
const tags = JSON.parse(
  execFileSync(tunora, ["tags", "--json", ...musicFiles.map((name) => join(music, name))], {
    encoding: "utf8",
  }),
);
const titles = tags.map((t) => t.songname).filter((title) => title && title !== "Unknown");

function makePage(name, args) {
  const page = join(work, name);
  execFileSync(tunora, ["page", "-o", page, ...args], { encoding: "utf8" });
  return page;
}
const pages = [
  { name: "directory", path: makePage("directory.html", ["--directory", music]), files: musicFiles },
  {
    name: "single track",
    path: makePage("single.html", [join(music, musicFiles[0])]),
    files: [musicFiles[0]],
  },
];


const profile = join(work, "profile");
const context = await launchChromium(profile);
try {
  const browser = await context.newPage();
  for (const page of pages) {
    await browser.goto(pathToFileURL(page.path).href, { waitUntil: "load" });
    const text = await browser.evaluate(() => document.body.innerText);
    const html = await browser.content();
    check(`${page.name}: no token left`, !text.includes("<$") && !html.includes("<$"));
    for (const file of page.files) check(`${page.name}: shows ${file}`, text.includes(file));
    const expectedTitles = page.name === "directory" ? titles : titles.filter((t) => tags[0].songname === t);
    for (const title of expectedTitles) check(`${page.name}: shows "${title}"`, text.includes(title));
    const images = await browser.evaluate(() =>
      Array.from(document.images, (img) => ({ src: img.src, width: img.naturalWidth })),
    );
    check(`${page.name}: has a cover`, images.length > 0);
    for (const image of images) check(`${page.name}: cover ${image.src} loaded`, image.width > 0);
  }
} finally {
  await context.close();
  rmSync(work, { recursive: true, force: true });
}
finish();
