#!/usr/bin/python3
"""trelmo typed at a terminal, driven through a pseudo-terminal: line editing, history,
completion, Ctrl-C, Ctrl-D and faults that cancel a command instead of ending the session.
Usage: terminal_test.py TRELMO"""
import os, subprocess, sys, tempfile, time
import pexpect

TRELMO = sys.argv[1]
LINE = "Line\nMesh\n    1       2       0\n    1     2        1     2\n"
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


def leave(p, status=0):
    p.expect(pexpect.EOF)
    p.close()
    check(p.exitstatus == status, f"exit status {p.exitstatus}, expected {status}")


def editing_history_and_completion(work):
    open(os.path.join(work, "plate.vmz"), "w").write(LINE + "    1      0.00000000      0.00000000      0.00000000\n"
                                                     "    2      1.00000000      0.00000000      0.00000000\n")
    p = start(work)
    # Tab completes a command word and a job name; Up recalls the last answer.
    answer(p, "cs\t", "You answered: csm")
    answer(p, "1", "x1 [0] ? ")
    p.send("\x1b[A\r")
    p.expect_exact("You answered: 1")
    answer(p, "\r" * 4, "Command ? ")
    answer(p, "wri", "Job name [new] ? ")
    answer(p, "pl\t", "You answered: plate")
    answer(p, "end", "Command ? ")
    p.send("\x04")  # Ctrl-D: end, which leaves at once after the write
    leave(p)
    # The history lasts from one session to the next.
    p = start(work)
    p.send("\x1b[A\r")
    p.expect_exact("You answered: end")
    leave(p)


def interrupt_keeps_the_buffer(work):
    p = start(work)
    answer(p, "csm", "Your choice [1] ? ")
    answer(p, "2", "Size in x [1] ? ")
    answer(p, "", "Size in y [1] ? ")
    answer(p, "", "Command ? ")
    # A refinement into four million elements, cancelled while it writes.
    p.send("gen\r2\r4\r2000\r2000\r")
    p.expect_exact("Equal steps")
    time.sleep(0.3)
    sent = time.time()
    p.sendintr()
    p.expect_exact("Interrupted - nothing changed")
    took = time.time() - sent
    check(took < 1.0, f"Ctrl-C took {took:.2f} s to stop gen")
    p.expect_exact("Command ? ")
    check(not os.path.exists(os.path.join(work, "tmp.vmz")), "tmp.vmz left behind")
    # A faulty mesh file is reported and cancels rea; the buffer and the session go on.
    open(os.path.join(work, "bad.vmz"), "w").write("T\nM\n1 2 0\n2 2 1 2\n")
    answer(p, "rea", "Job name")
    answer(p, "bad", "Wrong element number")
    p.expect_exact("Nothing changed - press the Return key ... ")
    answer(p, "", "Command ? ")
    answer(p, "wri", "Job name [bad] ? ")
    answer(p, "out", "Command ? ")
    with open(os.path.join(work, "out.vmz")) as f:
        check(f.read().split("\n")[2].split() == ["1", "4", "0"], "the rectangle was not kept")
    # Ctrl-C at a prompt gives a fresh prompt; Ctrl-D asks Leave anyway after a change.
    answer(p, "ccf", "Command ? ")
    answer(p, "csm", "Your choice [1] ? ")
    p.sendintr()
    p.expect_exact("Command ? ")
    answer(p, "csm", "Your choice [1] ? ")
    answer(p, "1", "x1 [0] ? ")
    answer(p, "\r" * 5, "Command ? ")
    p.send("\x04")
    p.expect_exact("Leave anyway (y/n) [n] ? ")
    answer(p, "y", "You answered: y")
    leave(p)


def piped_answers_are_unchanged(work):
    # Piped answers with the output on a terminal print exactly what they print into a pipe.
    open(os.path.join(work, "bad.vmz"), "w").write("T\nM\n1 2 0\n2 2 1 2\n")
    script = "csm\n2\n\n\nwri\nsq\nrea\nbad\nend\n"
    piped = subprocess.run([TRELMO], input=script, capture_output=True, text=True, cwd=work)
    out = pexpect.run(f"sh -c 'printf \"{script.encode('unicode_escape').decode()}\" | {TRELMO} 2>/dev/null'",
                      cwd=work, encoding="utf-8", withexitstatus=True)
    check(out[0].replace("\r\n", "\n") == piped.stdout, "piped output differs at a terminal")
    check(out[1] == piped.returncode == 1, "a faulty file does not end a piped session")


for test in (editing_history_and_completion, interrupt_keeps_the_buffer,
             piped_answers_are_unchanged):
    with tempfile.TemporaryDirectory() as work:
        try:
            test(work)
        except pexpect.ExceptionPexpect as e:
            failures.append(f"{test.__name__}: {type(e).__name__}")
            print(f"FAILED: {test.__name__}: {e}")
print(f"{3 - len({f.split(':')[0] for f in failures})} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
