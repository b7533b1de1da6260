// Renders one page of a PDF with pdf.js to a PNG file.
// Usage: node pdfjs_render.mjs FILE.pdf PAGE DPI OUT.png
import { readFileSync, writeFileSync } from "node:fs";
import { getDocument } from "pdfjs-dist/legacy/build/pdf.mjs";
import { createCanvas } from "@napi-rs/canvas";

const [file, pageText, dpiText, outPath] = process.argv.slice(2);
const data = new Uint8Array(readFileSync(file));
const pdf = await getDocument({ data, verbosity: 0 }).promise;
const page = await pdf.getPage(Number(pageText));
const viewport = page.getViewport({ scale: Number(dpiText) / 72 });
const canvas = createCanvas(Math.round(viewport.width), Math.round(viewport.height));
const context = canvas.getContext("2d");
await page.render({ canvasContext: context, viewport }).promise;
writeFileSync(outPath, canvas.toBuffer("image/png"));
