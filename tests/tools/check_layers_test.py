#!/usr/bin/python3
"""The layering check on the real tree and on copies of it with one trial change each: every
trial that breaks a rule fails the check with exactly the reports named, and nothing else."""
import concurrent.futures
import os
import shutil
import subprocess
import tempfile
import unittest

SOURCE = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
CHECK = os.path.join("tools", "check-layers.sh")
ALLOW = "tools/layering-allow.txt"
FAILED = "layering check failed"

CLASSIC = '#include "mahjong/screen/MjClassic.h"'
SCRIPT = '#include "mahjong/app/MjGameScript.h"'
HUD = "mahjong/screen/MjClassicHud.cpp"
TILE = "mahjong/board/MjTile.cpp"
CLOCK_PAIR = "mahjong/screen/MjClassicClock.cpp mahjong/app/MjGameScript.h"

# (what the trial does, its edits, the reports it must draw: (path, words) each, none to pass).
# An edit adds a line to a file (made if absent) or drops a line the file has.
TRIALS = [
    ("an angle include upward in the board",
     [("add", TILE, "#include <mahjong/screen/MjClassic.h>")],
     [(TILE, 'a project include is quoted: "mahjong/screen/MjClassic.h"'),
      (TILE, 'includes a higher layer: "mahjong/screen/MjClassic.h"')]),
    ("an angle include of a project header even downward",
     [("add", TILE, "#include <framework/core/Debug.h>")],
     [(TILE, 'a project include is quoted: "framework/core/Debug.h"')]),
    ("an allowed file including a second upward header",
     [("add", "mahjong/screen/MjClassicClock.cpp", '#include "mahjong/app/Mahjong.h"')],
     [("mahjong/screen/MjClassicClock.cpp", 'includes a higher layer: "mahjong/app/Mahjong.h"')]),
    ("an upward include in a .hpp header",
     [("add", "mahjong/board/MjTrialShape.hpp", CLASSIC)],
     [("mahjong/board/MjTrialShape.hpp",
       'a header includes a higher layer: "mahjong/screen/MjClassic.h"')]),
    ("an upward include in a .inl file",
     [("add", "mahjong/scene/MjTrialFade.inl", SCRIPT)],
     [("mahjong/scene/MjTrialFade.inl",
       'a header includes a higher layer: "mahjong/app/MjGameScript.h"')]),
    ("an upward include in a .cc source not listed",
     [("add", "mahjong/board/MjTrialScore.cc", SCRIPT)],
     [("mahjong/board/MjTrialScore.cc", 'includes a higher layer: "mahjong/app/MjGameScript.h"')]),
    ("a header named in the allow list",
     [("add", "mahjong/screen/MjClassic.h", SCRIPT),
      ("add", ALLOW, "mahjong/screen/MjClassic.h mahjong/app/MjGameScript.h  # trial")],
     [(ALLOW, '"mahjong/screen/MjClassic.h" is a header'),
      ("mahjong/screen/MjClassic.h", 'a header includes a higher layer')]),
    ("an upward include climbing out of the file's folder",
     [("add", "framework/core/Timer.cpp", '#include "../shell/AppScript.h"')],
     [("framework/core/Timer.cpp", 'from the repository root: "framework/shell/AppScript.h"'),
      ("framework/core/Timer.cpp", 'includes a higher layer: "framework/shell/AppScript.h"')]),
    ("a header of the file's own folder not written from the root",
     [("add", HUD, '#include "MjClassic.h"')],
     [(HUD, 'written from the repository root: "mahjong/screen/MjClassic.h"')]),
    ("a source file included, which would carry its upward includes along",
     [("add", HUD, '#include "mahjong/screen/MjClassicClock.cpp"')],
     [(HUD, 'includes a source file')]),
    ("an include through a macro",
     [("add", TILE, "#include MJ_TRIAL_HEADER")],
     [(TILE, "cannot read")]),
    ("an absolute include",
     [("add", TILE, '#include "/usr/include/stdio.h"')],
     [(TILE, "an absolute include path")]),
    ("a game include outside the framework and the game",
     [("add", TILE, '#include "SDL/SDL.h"')],
     [(TILE, 'the game includes only the framework: "SDL/SDL.h"')]),
    ("a game source outside the game's folders",
     [("add", "mahjong/MjTrial.cpp", '#include "mahjong/board/MjTile.h"')],
     [("mahjong/MjTrial.cpp", "a source outside the layers' folders")]),
    ("a listed pair no longer included",
     [("drop", "mahjong/screen/MjClassicSetup.cpp", SCRIPT)],
     [(ALLOW, '"mahjong/screen/MjClassicSetup.cpp mahjong/app/MjGameScript.h" is no longer')]),
    ("a pair listed without its reason",
     [("add", HUD, SCRIPT), ("add", ALLOW, HUD + " mahjong/app/MjGameScript.h")],
     [(ALLOW, "gives no reason")]),
    ("a pair listed twice",
     [("add", ALLOW, CLOCK_PAIR + "  # again")],
     [(ALLOW, '"%s" is listed twice' % CLOCK_PAIR)]),
    ("a line naming a file alone",
     [("add", ALLOW, HUD + "  # trial")],
     [(ALLOW, "a line names one source file and one header")]),
    ("a new upward include listed with its file and reason",
     [("add", HUD, SCRIPT), ("add", ALLOW, HUD + " mahjong/app/MjGameScript.h  # trial")],
     []),
]


def run_check(tree):
    return subprocess.run(["bash", os.path.join(tree, CHECK)], cwd=tree, capture_output=True,
                          text=True, check=False)


def tree_files():
    listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "--", "framework",
                             "mahjong"], cwd=SOURCE, capture_output=True, text=True, check=True)
    return listed.stdout.split() + [CHECK, ALLOW]


def edit(tree, kind, path, line):
    name = os.path.join(tree, path)
    if kind == "add":
        with open(name, "a", encoding="utf-8") as out:
            out.write(line + "\n")
        return
    with open(name, encoding="utf-8") as source:
        lines = source.read().split("\n")
    if line not in lines:
        raise AssertionError("%s has no line %r to drop" % (path, line))
    with open(name, "w", encoding="utf-8") as out:
        out.write("\n".join(kept for kept in lines if kept != line))


class CheckLayersTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="check-layers-")
        cls.pristine = os.path.join(cls.scratch, "pristine")
        for path in tree_files():
            if os.path.isfile(os.path.join(SOURCE, path)):
                os.makedirs(os.path.dirname(os.path.join(cls.pristine, path)), exist_ok=True)
                shutil.copy2(os.path.join(SOURCE, path), os.path.join(cls.pristine, path))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch)

    def trial_tree(self, name):
        tree = os.path.join(self.scratch, name)
        shutil.copytree(self.pristine, tree)
        subprocess.run(["git", "init", "-q", tree], check=True)
        return tree

    def test_real_tree_passes(self):
        result = run_check(SOURCE)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        copy = run_check(self.trial_tree("copy"))
        self.assertEqual(copy.returncode, 0, copy.stdout + copy.stderr)

    def run_trial(self, number):
        tree = self.trial_tree("trial-%d" % number)
        for kind, path, line in TRIALS[number][1]:
            edit(tree, kind, path, line)
        return run_check(tree)

    def test_trials(self):
        # The trials are apart from each other, so a few run at once.
        with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
            results = list(pool.map(self.run_trial, range(len(TRIALS))))
        for (what, _, reports), result in zip(TRIALS, results):
            with self.subTest(what):
                output = result.stdout + result.stderr
                if not reports:
                    self.assertEqual(result.returncode, 0, output)
                    continue
                self.assertEqual(result.returncode, 1, output)
                lines = result.stdout.splitlines()
                self.assertEqual(lines[-1:], [FAILED], output)
                found = lines[:-1]
                for path, words in reports:
                    self.assertTrue(any(line.startswith(path + ":") and words in line
                                        for line in found), "no %s: %s in\n%s" % (path, words,
                                                                                 output))
                self.assertEqual(len(found), len(reports), output)


if __name__ == "__main__":
    unittest.main()
