// Prints the text pdf.js finds on every page of a PDF, as a reader's "copy" would give it:
// items in content order, a newline where pdf.js sees the end of a line, a form feed between
// pages. Usage: node pdfjs_text.mjs FILE.pdf
import { readFileSync } from "node:fs";
import { getDocument } from "pdfjs-dist/legacy/build/pdf.mjs";

const data = new Uint8Array(readFileSync(process.argv[2]));
const pdf = await getDocument({ data, verbosity: 0 }).promise;
const out = [];
for (let n = 1; n <= pdf.numPages; ++n) {
  const page = await pdf.getPage(n);
  const content = await page.getTextContent();
  let text = "";
  for (const item of content.items) {
    text += item.str;
    if (item.hasEOL) text += "\n";
  }
  out.push(text);
}
process.stdout.write(out.join("\f"));
