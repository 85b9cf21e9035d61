"""The C++ programs that hold the level's rules, run on the generator's level source:
krello-levelc checks a level exactly as the build does, `krello-tool level stats` sets its
figures beside the golden list, and `krello-tool level walls` says what each wall shows (its
portal, whether it is drawn, its opening and the shape of its texels). The generator keeps no
copy of those rules; it finds the programs in a build's tools folder."""
import os
import subprocess

ENV = "KRELLO_TOOLS"
DEFAULT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                        "build", "tools"))


class ProgramError(Exception):
    """A program could not read the source at all; `lines` are its messages."""

    def __init__(self, lines):
        super().__init__("\n".join(lines))
        self.lines = lines


class Programs:
    def __init__(self, folder=None):
        folder = folder or os.environ.get(ENV) or DEFAULT
        self.levelc = os.path.join(folder, "krello-levelc")
        self.tool = os.path.join(folder, "krello-tool")
        for path in (self.levelc, self.tool):
            if not (os.path.isfile(path) and os.access(path, os.X_OK)):
                raise SystemExit(f"make_level.py: {path} is missing: build the tools first (cmake --build build), "
                                 f"or name a build's tools folder with --tools DIR or {ENV}")

    def _run(self, *args):
        r = subprocess.run(args, capture_output=True, text=True)
        if r.returncode not in (0, 1):
            raise ProgramError((r.stderr or r.stdout).splitlines() or
                               [f"{os.path.basename(args[0])} failed with status {r.returncode}"])
        return r

    def violations(self, source, work):
        """Every rule the level breaks, as krello-levelc words it when the build compiles it."""
        r = self._run(self.levelc, source, "-o", os.path.join(work, "level.cpp"))
        return r.stderr.splitlines() if r.returncode else []

    def figures(self, source, golden):
        """(name, this level, golden line, meets) of every figure and every golden line. A goal
        the level falls short of ("below", such as the shimmer's) is printed, not a fault."""
        r = self._run(self.tool, "level", "stats", source, "--golden", golden, "--tsv")
        rows = [line.split("\t") for line in r.stdout.splitlines()]
        return [(name, actual, expected, verdict != "differs") for name, actual, expected, verdict in rows]

    def walls(self, source):
        """What each wall of the source shows, in table order: a dict of sector, nextSector,
        otherWall, drawn, opening (None for a solid wall), length, square_u (the repeatU that
        makes its texels square at its repeatV) and texel_ratio (texel width over height)."""
        r = self._run(self.tool, "level", "walls", source)
        out = []
        for line in r.stdout.splitlines()[1:]:
            _wall, sector, next_sector, other, drawn, opening, *measures = line.split("\t")
            length, square_u, ratio = (None if m == "none" else float(m) for m in measures)
            out.append({"sector": int(sector), "nextSector": int(next_sector),
                        "otherWall": int(other), "drawn": drawn == "1",
                        "opening": None if opening == "none" else int(opening),
                        "length": length, "square_u": square_u, "texel_ratio": ratio})
        return out
