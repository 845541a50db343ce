#!/usr/bin/env python3
"""Checks of a manual page of docs/man/.

  check_man_page.py lint PAGE            fails on any warning of groff (all warnings on)
  check_man_page.py options PROGRAM PAGE fails, naming them, when an option or command that
                                         PROGRAM --help lists is missing from the page
"""
import re
import subprocess
import sys

# "--make-mp4", "-k" and flvmdi's "/k": an option as --help writes it, not part of a path.
OPTION = re.compile(r"(?<![\w/.-])(--[a-z][a-z0-9-]*|-[a-z]|/[a-z])(?![\w/])")


def lint(page: str) -> int:
    run = subprocess.run(["groff", "-man", "-ww", "-Tutf8", "-z", page],
                         capture_output=True, text=True)
    if run.returncode != 0 or run.stderr:
        sys.stdout.write(run.stderr)
        return 1
    return 0


def listed(help_text: str) -> set:
    """The options of the help, and the commands of its "Commands:" block ("profile show")."""
    names = set(OPTION.findall(help_text))
    commands = help_text.split("\nCommands:\n", 1)
    if len(commands) == 2:
        for line in commands[1].split("\n\n", 1)[0].splitlines():
            name = re.match(r"  (\S+(?: \S+)*?)(?:  |$)", line)
            if name:
                names.add(name.group(1))
    return names


def options(program: str, page: str) -> int:
    help_text = subprocess.run([program, "--help"], capture_output=True, text=True,
                               check=True).stdout
    names = listed(help_text)
    if not names:
        print(f"{program} --help lists no option")
        return 1
    # The page writes every hyphen of an option as roff's \- (a hyphen-minus that never breaks).
    source = open(page, encoding="utf-8").read()
    missing = sorted(n for n in names if n.replace("-", "\\-") not in source)
    for name in missing:
        print(f"{page}: {name} is not documented")
    return 1 if missing else 0


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "lint":
        sys.exit(lint(sys.argv[2]))
    if len(sys.argv) == 4 and sys.argv[1] == "options":
        sys.exit(options(sys.argv[2], sys.argv[3]))
    sys.exit(__doc__)
