#!/usr/bin/python3
"""trelmo typed at a terminal, through a pseudo-terminal: line editing, history, completion,
Ctrl-C, Ctrl-D, and faults that cancel a command instead of ending the session.
Usage: terminal_test.py TRELMO"""
import os, subprocess, sys, tempfile, time
import pexpect

TRELMO = sys.argv[1]
BAD = "T\nM\n1 2 0\n2 2 1 2\n"  # element 1 numbered 2
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAILED:", what)


def start(work):
    p = pexpect.spawn(TRELMO, cwd=work, env=dict(os.environ, HOME=work), encoding="utf-8",
                      timeout=20)
    p.expect_exact("Command ? ")
    return p


def answer(p, text, then):
    p.send(text + "\r")
    p.expect_exact(then)


def leave(p):
    p.expect(pexpect.EOF)
    p.close()
    check(p.exitstatus == 0, f"exit status {p.exitstatus}")


def editing_history_and_completion(work):
    open(os.path.join(work, "plate.vmz"), "w").write("P\nM\n0 1 0\n1 0 0 0\n")
    p = start(work)
    # Tab completes a command word and a job name; Up recalls the last answer.
    answer(p, "cs\t", "You answered: csm")
    answer(p, "1", "x1 [0] ? ")
    answer(p, "\x1b[A", "You answered: 1")
    answer(p, "\r" * 4, "Command ? ")
    answer(p, "wri", "Job name [new] ? ")
    answer(p, "pl\t", "You answered: plate")
    answer(p, "end", "Command ? ")
    p.send("\x04")  # Ctrl-D: end, which leaves at once after the write
    leave(p)
    p = start(work)  # the history lasts from one session to the next
    answer(p, "\x1b[A", "You answered: end")
    leave(p)


def interrupt_keeps_the_buffer(work):
    p = start(work)
    answer(p, "csm\r2\r\r", "Command ? ")
    # A refinement into four million elements, cancelled while it writes.
    answer(p, "gen\r2\r4\r2000\r2000", "Equal steps")
    time.sleep(0.3)
    sent = time.time()
    p.sendintr()
    p.expect_exact("Interrupted - nothing changed")
    check(time.time() - sent < 1.0, f"Ctrl-C took {time.time() - sent:.2f} s to stop gen")
    p.expect_exact("Command ? ")
    check(not os.path.exists(os.path.join(work, "tmp.vmz")), "tmp.vmz left behind")
    # A faulty mesh file is reported and cancels rea; the buffer and the session go on.
    open(os.path.join(work, "bad.vmz"), "w").write(BAD)
    answer(p, "rea\rbad", "Wrong element number")
    answer(p, "", "Command ? ")
    answer(p, "wri\rout", "Writing file: out.vmz")
    p.expect_exact("Current buffer is")
    with open(os.path.join(work, "out.vmz")) as f:
        check(f.read().split("\n")[2].split() == ["1", "4", "0"], "the rectangle was not kept")
    # Ctrl-C at a prompt gives a fresh prompt; Ctrl-D asks Leave anyway after a change.
    answer(p, "ccf\rcsm", "Your choice [1] ? ")
    p.sendintr()
    p.expect_exact("Command ? ")
    answer(p, "csm\r1" + "\r" * 6, "Command ? ")
    p.send("\x04")
    p.expect_exact("Leave anyway (y/n) [n] ? ")
    answer(p, "y", "You answered: y")
    leave(p)


def piped_answers_are_unchanged(work):
    # Piped answers with the output on a terminal print exactly what they print into a pipe, and
    # a faulty file still ends the program.
    open(os.path.join(work, "bad.vmz"), "w").write(BAD)
    script = "csm\n2\n\n\nwri\nsq\nrea\nbad\nend\n"
    piped = subprocess.run([TRELMO], input=script, capture_output=True, text=True, cwd=work)
    shell = f"sh -c 'printf \"{script.encode('unicode_escape').decode()}\" | {TRELMO} 2>/dev/null'"
    out, status = pexpect.run(shell, cwd=work, encoding="utf-8", withexitstatus=True)
    check(out.replace("\r\n", "\n") == piped.stdout, "piped output differs at a terminal")
    check(status == piped.returncode == 1, "a faulty file does not end a piped session")


tests = (editing_history_and_completion, interrupt_keeps_the_buffer, piped_answers_are_unchanged)
for test in tests:
    with tempfile.TemporaryDirectory() as work:
        try:
            test(work)
        except pexpect.ExceptionPexpect as e:
            failures.append(test.__name__)
            print(f"FAILED: {test.__name__}: {e}")
print(f"{len(tests) - len({f.split(':')[0] for f in failures})} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
