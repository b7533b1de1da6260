#!/usr/bin/env python3
"""Checks the README against the program it describes.

- The README opens with the two commands that run and test Vellumo (tools and CI rely on them).
- Every picture it shows exists under docs/images, is a PNG and stays small.
- Every link to a section of the README leads to a heading.
- Every text it quotes as the program's own ("...") is in the program's sources, so a caption or
  message that changes in the code cannot silently stay wrong in the guide. Upper-case words
  such as NAME or FILE stand for what the program fills in.

Usage: readme_check.py SOURCE_DIR. Prints every problem and exits 1 when there is one.
"""
import pathlib
import re
import sys

MAX_IMAGE_BYTES = 150 * 1024
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
# Where the program's texts live.
SOURCE_DIRS = ["app", "cleanup", "cli", "document", "editing", "mail", "mainwnd", "ocr", "output",
               "pdf", "platform", "prefs", "scan", "scanning", "viewer", "widgets"]
# Placeholders in quoted texts for what the program fills in.
PLACEHOLDER = re.compile(r"\b(?:NAME|FILE|ADDRESS|N)\b")
# Quoted texts that are not the program's own but come from outside it.
FOREIGN_TEXTS = {
    "Noname frontend-tester",  # the SANE test back end's name for its devices
}
OPENING = (
    "# Vellumo\n\n"
    "    tools/run.sh     # build and start Vellumo (Debian 12, as root; installs what it needs)\n"
    "    tools/test.sh    # build and run every test\n"
)


def github_anchor(heading):
    text = heading.strip().lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def user_guide(readme):
    """The part of the README meant for users: up to the developers' section."""
    end = readme.find("\n## For developers")
    return readme if end < 0 else readme[:end]


def program_texts(top):
    texts = []
    for folder in SOURCE_DIRS:
        for path in sorted((top / folder).rglob("*")):
            if path.suffix in (".cpp", ".h") and path.is_file():
                texts.append(path.read_text(encoding="utf-8", errors="replace"))
    # Accelerator marks ("&Select device") are not shown; escaped quotes are plain quotes.
    return "\n".join(texts).replace("&", "").replace('\\"', '"')


def quoted_texts(guide):
    # Code blocks and inline code show commands and output, not the program's window texts;
    # a picture's description is the guide's own words.
    prose = re.sub(r"^    .*$", "", guide, flags=re.M)
    prose = re.sub(r"`[^`\n]*`", "", prose)
    prose = re.sub(r"!\[[^\]]*\]\([^)]*\)", "", prose)
    # A quoted text may be wrapped over two lines of the file.
    prose = re.sub(r"[ \t]*\n[ \t]*", " ", prose)
    return re.findall(r'"([^"]+)"', prose)


def check(top):
    problems = []
    readme_path = top / "README.md"
    readme = readme_path.read_text(encoding="utf-8")

    if not readme.startswith(OPENING):
        problems.append("README.md does not open with the title and the two commands")

    for picture in re.findall(r"!\[[^\]]*\]\(([^)]+)\)", readme):
        path = top / picture
        if not picture.startswith("docs/images/"):
            problems.append(f"picture outside docs/images: {picture}")
        if not path.is_file():
            problems.append(f"missing picture: {picture}")
            continue
        data = path.read_bytes()
        if not data.startswith(PNG_SIGNATURE):
            problems.append(f"not a PNG: {picture}")
        if len(data) > MAX_IMAGE_BYTES:
            problems.append(f"picture larger than {MAX_IMAGE_BYTES} bytes: {picture}")

    anchors = {github_anchor(h) for h in re.findall(r"^#+ (.+)$", readme, flags=re.M)}
    for anchor in re.findall(r"\]\(#([^)]+)\)", readme):
        if anchor not in anchors:
            problems.append(f"link to a missing section: #{anchor}")

    sources = program_texts(top)
    for text in quoted_texts(user_guide(readme)):
        if text in FOREIGN_TEXTS:
            continue
        pieces = [p.strip() for p in PLACEHOLDER.split(text)]
        for piece in pieces:
            if len(piece) >= 3 and piece not in sources:
                problems.append(f'quoted text not in the program: "{text}"')
                break
    return problems


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    problems = check(pathlib.Path(sys.argv[1]))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
