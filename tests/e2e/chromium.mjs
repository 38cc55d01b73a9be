// Headless Chromium for the browser checks, driven by playwright-core. A
// machine without Chromium or playwright-core skips the check: the process
// ends with 77, which CTest counts as skipped.

import { existsSync } from "node:fs";

export const SKIP = 77;

// A persistent browser context in `profile` (a new empty folder), with the
// flags that keep Chromium off the network of this closed machine.
export async function launchChromium(profile, options = {}) {
  const chromium = process.env.CHROMIUM || "/usr/bin/chromium";
  if (!existsSync(chromium)) {
    console.log(`skipped: no Chromium at ${chromium}`);
    process.exit(SKIP);
  }
  let playwright;
  try {
    playwright = await import("playwright-core");
  } catch {
    console.log("skipped: playwright-core is not installed (scripts/install-node-deps.sh)");
    process.exit(SKIP);
  }
  return playwright.chromium.launchPersistentContext(profile, {
    executablePath: chromium,
    headless: true,
    args: [
      "--headless",
      "--no-sandbox",
      "--disable-gpu",
      "--disable-background-networking",
      "--disable-component-update",
      "--no-first-run",
    ],
    ...options,
  });
}
