// Checks the page the plug-in gave the stand-in player as the player's
// browser would show it: the track's values, no template token, and the
// classic skin's colours on the rendered elements.
//
// Usage: node received_page.mjs PAGE [SCREENSHOT]
// Exit status 0 when all checks pass, 1 when one fails, 77 when Chromium or
// playwright-core is missing (the test then counts as skipped).

import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

import { launchChromium } from "./chromium.mjs";

const [page, screenshot] = process.argv.slice(2);

let failed = 0;
function check(what, actual, expected) {
  if (actual === expected) return;
  failed++;
  console.log(`FAILED: ${what}: ${JSON.stringify(actual)}, expected ${JSON.stringify(expected)}`);
}

const profile = mkdtempSync(join(tmpdir(), "tunora-received-"));
const context = await launchChromium(profile, { viewport: { width: 760, height: 640 } });
try {
  const browser = await context.newPage();
  await browser.goto(pathToFileURL(page).href, { waitUntil: "load" });
  const seen = await browser.evaluate(() => {
    const style = (selector, property) =>
      getComputedStyle(document.querySelector(selector)).getPropertyValue(property);
    return {
      heading: document.querySelector("h1").innerText,
      text: document.body.innerText,
      html: document.documentElement.outerHTML,
      background: style("body", "background-color"),
      colour: style("body", "color"),
      playing: style("h1", "color"),
    };
  });
  check("heading", seen.heading, "V1 Artist - V1 Title");
  check("album shown", seen.text.includes("V1 Album"), true);
  check("no token left", seen.html.includes("<$"), false);
  check("background (NormalBG)", seen.background, "rgb(32, 32, 32)");
  check("text colour (Normal)", seen.colour, "rgb(192, 192, 192)");
  check("heading colour (Current)", seen.playing, "rgb(255, 255, 0)");
  if (screenshot) await browser.screenshot({ path: screenshot });
} finally {
  await context.close();
  rmSync(profile, { recursive: true, force: true });
}
console.log(failed === 0 ? "received page: all checks passed" : `${failed} checks failed`);
process.exit(failed === 0 ? 0 : 1);
