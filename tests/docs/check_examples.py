#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Runs the examples of markdown files and compares what they print with what the files show.

check_examples.py console --bin NAME=PATH... --copy PATH... FILE.md...
    Runs every `$ command` line of the ```console blocks with bash, in order, in one temporary
    directory per file that holds copies of the --copy files and directories' files; `vantor`
    and the other --bin names are found on the PATH, and build/<dir>/<name> there links to
    each as well. Standard output and standard error together must equal the lines shown
    below the command up to the next `$ ` line; a line `...` stands for any number of lines.
    The commands of a file run in one shell, as a session. A command must exit with status 0
    unless the next one is `echo $?`.
check_examples.py python --copy PATH... FILE.md...
    Runs the ```pycon blocks of each file with doctest in such a directory.
check_examples.py verbatim SOURCE FILE.md
    The file shows SOURCE whole in one ```cpp block.
"""
import argparse
import doctest
import os
import re
import shutil
import subprocess
import sys
import tempfile


def console_commands(text):
    """(line number, command, expected output) of each `$ ` line of the ```console blocks."""
    commands, block = [], None
    for number, line in enumerate(text.splitlines(), 1):
        if block is None:
            if line.strip() == "```console":
                block = []
            continue
        if line.strip() == "```" or line.startswith("$ "):
            if block:
                commands.append(block)
            block = None if line.strip() == "```" else [number, line[2:], []]
        elif block == []:
            sys.exit(f"line {number}: a console block starts with a `$ ` line")
        else:
            block[2].append(line)
    return commands


def matches(expected, actual):
    pattern = "".join(r"(?:.*\n)*?" if line == "..." else re.escape(line) + r"\n"
                      for line in expected)
    return re.fullmatch(pattern, actual) is not None


def sandbox(copies):
    directory = tempfile.mkdtemp(prefix="vantor-docs-")
    for path in copies:
        names = [os.path.join(path, n) for n in os.listdir(path)] if os.path.isdir(path) else [path]
        for name in names:
            if os.path.isfile(name):
                shutil.copy(name, directory)
    return directory


def check_console(args, markdown, directory):
    bindir = os.path.join(directory, ".bin")
    os.makedirs(bindir)
    for name, path in (b.split("=", 1) for b in args.bin):
        os.symlink(path, os.path.join(bindir, name))
        linked = os.path.join(directory, "build", os.path.basename(os.path.dirname(path)), name)
        os.makedirs(os.path.dirname(linked), exist_ok=True)
        os.symlink(path, linked)
    env = dict(os.environ, PATH=bindir + os.pathsep + os.environ["PATH"], LC_ALL="C")
    with open(markdown, encoding="utf-8") as f:
        commands = console_commands(f.read())
    # One shell runs the file's commands as a session; after each, a NUL and its exit status
    # separate the outputs, and the status is restored for a following `echo $?`.
    script = "exec 2>&1\n" + "".join(
        f"{c}\n__s=$?; printf '\\0%d\\n' $__s; (exit $__s)\n" for _, c, _ in commands)
    run = subprocess.run(["bash", "-c", script], cwd=directory, env=env, text=True,
                         stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, timeout=600)
    outputs = run.stdout.split("\0")
    failures = 0
    for k, (number, command, expected) in enumerate(commands):
        printed = outputs[k] if k == 0 else outputs[k].split("\n", 1)[1]
        status = int(outputs[k + 1].split("\n", 1)[0])
        shown = k + 1 < len(commands) and commands[k + 1][1] == "echo $?"
        if (status != 0 and not shown) or not matches(expected, printed):
            failures += 1
            print(f"{markdown}:{number}: $ {command}\n  exit status {status}\n  expected:\n" +
                  "".join(f"    {line}\n" for line in expected) + "  printed:\n" +
                  "".join(f"    {line}\n" for line in printed.splitlines()))
    print(f"{markdown}: {len(commands)} commands, {failures} failed")
    return failures


def check_python(markdown, directory):
    # Only the ```pycon blocks: every other line is blanked, so that the line numbers hold.
    kept, inside = [], False
    with open(markdown, encoding="utf-8") as f:
        for line in f.read().splitlines():
            fence = line.startswith("```")
            inside = (line.strip() == "```pycon") if fence and not inside else inside and not fence
            kept.append(line if inside and not fence else "")
    test = doctest.DocTestParser().get_doctest("\n".join(kept) + "\n", {}, markdown, markdown, 0)
    os.chdir(directory)
    runner = doctest.DocTestRunner(optionflags=doctest.ELLIPSIS)
    failed, tried = runner.run(test)
    print(f"{markdown}: {tried} examples, {failed} failed")
    return failed


def check_verbatim(source, markdown):
    with open(source, encoding="utf-8") as f:
        wanted = "```cpp\n" + f.read() + "```\n"
    with open(markdown, encoding="utf-8") as f:
        found = wanted in f.read()
    print(f"{markdown}: {'shows' if found else 'does not show'} {source} verbatim")
    return 0 if found else 1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["console", "python", "verbatim"])
    parser.add_argument("--bin", action="append", default=[])
    parser.add_argument("--copy", action="append", default=[])
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    if args.mode == "verbatim":
        return check_verbatim(*args.files)
    copies = [os.path.abspath(c) for c in args.copy]
    failures = 0
    for markdown in [os.path.abspath(f) for f in args.files]:
        directory = sandbox(copies)
        try:
            if args.mode == "console":
                failures += check_console(args, markdown, directory)
            else:
                failures += check_python(markdown, directory)
        finally:
            os.chdir("/")
            shutil.rmtree(directory)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
