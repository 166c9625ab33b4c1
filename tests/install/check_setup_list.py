#!/usr/bin/python3
"""Checks that scripts/setup.sh installs every program the suite calls.

A machine where someone once installed a tool by hand passes the suite even
when setup.sh lacks it; a fresh machine then fails. So every word of the
suite's scripts and build files that names a program of the system is traced
to the Debian package that ships it, and that package must be in the base
system (priority required, what every Debian installation has) or be pulled
in by setup.sh's list. Prints each program that is not, and exits 1.

check_setup_list.py SOURCE_DIR
"""

import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

SYSTEM_PATH = "/usr/sbin:/usr/bin:/sbin:/bin"
COMMENT = re.compile(r"(^|\s)#.*$")
NAME = r"(/usr/[\w/.+-]+|[A-Za-z][\w.+-]*)"
# Where a program's name stands: a shell command's first word (also after a
# pipe, a list operator, a command substitution or a word that runs the next
# one), a CMake COMMAND or find_program, a Python list's or call's first string.
SHELL = re.compile(r"(?:^|[|;&(`{]|\b(?:then|do|else|exec|if|while|until|time|nice|xargs|"
                   r"command -v|timeout \S+|env(?: -\w+)*(?: \w+=\S*)*)\s)\s*"
                   r"(?:!\s*)?(?:\w+=(?:\"[^\"]*\"|'[^']*'|\S*)\s+)*" + NAME)
CMAKE = re.compile(r"(?:COMMAND|find_program\(\w+(?:\s+NAMES)?)\s+" + NAME)
HERE_DOCUMENT = re.compile(r"<<-?\s*['\"]?(\w+)['\"]?")
PYTHON = re.compile(r"(?:\[|\b(?:run|Popen|call|check_output|system)\()\s*[\"']" + NAME + r"\b")


def suite_files(source):
    patterns = ["scripts/*.sh", ".ci/run", "CMakeLists.txt", "cmake/*.cmake",
                "tests/**/*.sh", "tests/**/*.py", "tests/**/CMakeLists.txt", "bench/*.sh"]
    for pattern in patterns:
        yield from sorted(source.glob(pattern))


def words(path):
    name = path.name
    pattern = (CMAKE if name.endswith(".cmake") or name == "CMakeLists.txt"
               else PYTHON if name.endswith(".py") else SHELL)
    here_end = None
    for line in path.read_text(errors="replace").splitlines():
        # A here-document's body is another program's text (Python, awk):
        # its words are not commands of the shell.
        if here_end is not None:
            here_end = None if line.strip() == here_end else here_end
            continue
        if pattern is SHELL and (here := HERE_DOCUMENT.search(line)):
            here_end = here.group(1)
        yield from (match.group(1) for match in pattern.finditer(COMMENT.sub("", line)))


def file_owners():
    """Every file of an installed package, by its path with and without /usr."""
    owners = {}
    for listing in Path("/var/lib/dpkg/info").glob("*.list"):
        package = listing.stem.split(":")[0]
        for line in listing.read_text(errors="replace").splitlines():
            owners.setdefault(line, package)
            if line.startswith(("/bin/", "/sbin/")):
                owners.setdefault("/usr" + line, package)
    return owners


def setup_packages(source):
    text = (source / "scripts/setup.sh").read_text()
    body = re.search(r"^packages=\((.*?)^\)", text, re.S | re.M).group(1)
    return {w for line in body.splitlines() for w in COMMENT.sub("", line).split()}


def installed():
    """Each installed package's priority, dependencies and what it provides."""
    out = subprocess.run(
        ["dpkg-query", "-W", "-f",
         "${Package}\t${db:Status-Abbrev}\t${Priority}\t${Essential}\t"
         "${Pre-Depends}, ${Depends}\t${Provides}\n"],
        capture_output=True, text=True, check=True).stdout
    packages, providers = {}, {}
    for line in out.splitlines():
        name, status, priority, essential, depends, provides = line.split("\t")
        if not status.startswith("ii"):
            continue
        alternatives = [[re.split(r"[\s(:]", a.strip())[0] for a in d.split("|")]
                        for d in depends.split(",") if d.strip()]
        packages[name] = (priority == "required" or essential == "yes", alternatives)
        for p in provides.split(","):
            if p.strip():
                providers.setdefault(re.split(r"[\s(]", p.strip())[0], []).append(name)
    return packages, providers


def closure(roots, packages, providers):
    seen, todo = set(), list(roots)
    while todo:
        name = todo.pop()
        if name in seen:
            continue
        seen.add(name)
        for alternatives in packages.get(name, (False, []))[1]:
            # apt takes the first alternative it can: an installed one here.
            for alt in alternatives:
                chosen = [alt] if alt in packages else providers.get(alt, [])
                if chosen:
                    todo.append(chosen[0])
                    break
    return seen


def main():
    source = Path(sys.argv[1])
    packages, providers = installed()
    listed = setup_packages(source)
    unknown = sorted(p for p in listed if p not in packages)
    wanted = closure(listed, packages, providers)
    base = closure([p for p, (required, _) in packages.items() if required], packages, providers)
    owners = file_owners()
    missing = {}
    for path in suite_files(source):
        for word in set(words(path)):
            program = word if word.startswith("/") else shutil.which(word, path=SYSTEM_PATH)
            if not program or not os.path.isfile(program) or not os.access(program, os.X_OK):
                continue
            package = owners.get(program) or owners.get(os.path.realpath(program))
            if package in wanted or package in base:
                continue
            missing.setdefault(word, (package, path.relative_to(source)))
    for name in unknown:
        print(f"setup.sh lists {name}, which is not installed here: run scripts/setup.sh")
    for word, (package, path) in sorted(missing.items()):
        print(f"{path} calls {word}, from {package or 'no Debian package'}, "
              "which scripts/setup.sh does not install")
    checked = sum(1 for _ in suite_files(source))
    print(f"{checked} files checked against {len(listed)} packages of setup.sh")
    return 1 if missing or unknown else 0


if __name__ == "__main__":
    sys.exit(main())
