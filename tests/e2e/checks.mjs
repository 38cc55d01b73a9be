// The tally of a browser test: each check counts as passed or failed, and the
// process ends with the status CTest reads.

let passed = 0;
let failed = 0;

export function check(what, ok, detail = "") {
  if (ok) {
    passed++;
  } else {
    failed++;
    console.log(`FAILED: ${what}${detail ? ` (${detail})` : ""}`);
  }
}

export function finish() {
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed === 0 ? 0 : 1);
}
