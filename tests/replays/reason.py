#!/usr/bin/env python3
"""An independent model of Quarzel's rules, used to work out what a replay
script must print. It shares no code with the game: it follows the written
rules step by step (the generator, the wall advance, the ball step with its
pixel-exact collisions, the window's timers and commands) and keeps only what
a trace line shows. Drawing is left out; it changes no state.

    reason.py expect SCRIPT [INI]   the trace SCRIPT must give; INI is the
                                    settings file the run starts with
    reason.py plan-long SEED        writes a long-game script whose mouse
                                    moves keep the ball in play

The expected traces in this folder were made with `expect` and checked by
hand where the rules are short (rows and timers after a new game, the wall
period, the lost balls); `plan-long` chose the mouse moves of long_game.script.

Masks come from the pictures' solid areas as described for the resources.
The stone texture of the walls' inner columns is art, not rule; the model
stops with an error if a collision ever reads one of those pixels (the ball
is always put back at a wall's edge column first, so it never does).
"""

import copy
import math
import sys

# ---------------------------------------------------------------------------
# The generator: one sequence, seeded with the start time in seconds.


class Rng:
    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def draw(self):
        self.state = (self.state * 1103515245 + 12345) & 0xFFFFFFFF
        return (self.state >> 16) & 0x7FFF


# ---------------------------------------------------------------------------
# Masks: functions (row, column) -> 0 or 1, with their sizes.

COLL_HIT, COLL_TOP, COLL_BOTTOM, COLL_LEFT, COLL_RIGHT = 1, 2, 4, 8, 16


def runs_mask(width, height, rows):
    """rows: {row: [(first, last), ...]} of solid columns."""
    cells = [[0] * width for _ in range(height)]
    for r, spans in rows.items():
        for a, b in spans:
            for c in range(a, b + 1):
                cells[r][c] = 1
    return cells


def ball_mask():
    spans = {}
    for r in (0, 17):
        spans[r] = [(6, 11)]
    for r in (1, 16):
        spans[r] = [(4, 13)]
    for r in (2, 15):
        spans[r] = [(3, 14)]
    spans[3] = [(2, 10), (12, 15)]
    for r in (4, 5):
        spans[r] = [(1, 10), (14, 16)]
    for r in (6, 7, 8):
        spans[r] = [(0, 10), (14, 17)]
    spans[9] = [(0, 8), (12, 17)]
    for r in (10, 11):
        spans[r] = [(0, 17)]
    for r in (12, 13):
        spans[r] = [(1, 16)]
    spans[14] = [(2, 15)]
    return runs_mask(18, 18, spans)


def paddle_mask():
    spans = {2: [(14, 25)], 3: [(10, 29)], 4: [(8, 31)], 5: [(7, 32)], 6: [(6, 33)],
             7: [(5, 34)], 8: [(5, 34)]}
    for r in range(9, 14):
        spans[r] = [(4, 35)]
    return runs_mask(40, 22, spans)


def brick_mask(number):
    cells = [[1] * 24 for _ in range(13)]
    if number == 8:
        # The shadow's black pixels (x + y even) are clear.
        shadow = [(23, 0)] + [(c, r) for r in range(1, 11) for c in (22, 23)]
        shadow += [(c, 11) for c in range(1, 24)] + [(c, 12) for c in range(24)]
        clear = [(c, r) for c, r in shadow if (c + r) % 2 == 0]
        assert len(clear) == 34
        for c, r in clear:
            cells[r][c] = 0
    return cells


def coin_mask():
    spans = {0: [(11, 13)], 1: [(9, 15)], 2: [(8, 11), (13, 16)], 3: [(7, 10), (14, 17)],
             4: [(7, 9), (15, 17)], 5: [(6, 9), (11, 11), (13, 18)], 6: [(6, 9), (14, 18)],
             7: [(6, 10), (15, 18)], 8: [(7, 11), (13, 13), (15, 17)], 9: [(7, 9), (15, 17)],
             10: [(8, 10), (14, 16)], 11: [(9, 11), (13, 15)], 12: [(11, 13)]}
    return runs_mask(24, 13, spans)


def gem_mask():
    return [[1 if abs(c - 12) + abs(r - 6) <= 6 else 0 for c in range(24)] for r in range(13)]


class UnknownPixel(Exception):
    pass


class WallMask:
    """Columns 0-2 and 29-30 solid, 31 clear; 3-28 a texture that is solid
    where x + y is odd and art elsewhere."""

    width, height = 32, 450

    def __getitem__(self, r):
        return WallRow(r)


class WallRow:
    def __init__(self, r):
        self.r = r

    def __getitem__(self, c):
        if c <= 2 or c in (29, 30):
            return 1
        if c == 31:
            return 0
        if (c + self.r) % 2 == 1:
            return 1
        raise UnknownPixel(f"wall texture pixel ({c}, {self.r}) was read")


MASKS = {"qzlball": ball_mask(), "qzlbase": paddle_mask(), "qzlwall": WallMask(),
         "qzlcoin": coin_mask(), "qzlruby": gem_mask(), "qzldiam": gem_mask()}
for _n in range(1, 10):
    MASKS[f"qzlbrick{_n}"] = brick_mask(_n)
SIZES = {"qzlball": (18, 18), "qzlbase": (40, 22), "qzlwall": (32, 450)}
for _name in list(MASKS):
    SIZES.setdefault(_name, (24, 13))

# ---------------------------------------------------------------------------
# Sprites: integer position (the ball's is double), a bitmap name, visibility.


class Sprite:
    def __init__(self, name=None, x=0, y=0, visible=False):
        self.name, self.x, self.y, self.visible = name, x, y, visible

    def gx(self):
        return self.x

    def gy(self):
        return self.y

    def size(self):
        return SIZES[self.name] if self.name else (0, 0)


class Ball(Sprite):
    def __init__(self):
        super().__init__("qzlball", 0.0, 0.0, False)
        self.dx = 0.0
        self.dy = 0.0
        self.steps = 1

    def gx(self):
        return int(self.x)  # towards zero

    def gy(self):
        return int(self.y)

    def calc_steps(self):
        a, b = abs(int(self.dx)), abs(int(self.dy))
        self.steps = a + 1 if a > b else b + 1
        return self.steps

    def sub_step(self):
        self.x = self.x + self.dx / float(self.steps)
        self.y = self.y + self.dy / float(self.steps)

    def bounce(self, f):
        if f & COLL_TOP:
            self.dy = abs(self.dy)
        if f & COLL_BOTTOM:
            self.dy = -abs(self.dy)
        if f & COLL_LEFT:
            self.dx = abs(self.dx)
        if f & COLL_RIGHT:
            self.dx = -abs(self.dx)
        return f


def collide(this, other):
    """The flags of the ball `this` touching `other`, walked pixel by pixel."""
    if not this.visible or not other.visible:
        return 0
    tx, ty = this.gx(), this.gy()
    tw, th = this.size()
    ox, oy = other.gx(), other.gy()
    ow, oh = other.size()
    if not (tx <= ox < tx + tw or ox <= tx < ox + ow):
        return 0
    if not (ty <= oy < ty + th or oy <= ty < oy + oh):
        return 0
    tm, om = MASKS[this.name], MASKS[other.name]
    top, bottom, left, right = th // 4, th - th // 4, tw // 4, tw - tw // 4
    flags = 0
    i, k = max(0, oy - ty), max(0, ty - oy)
    while i < th and k < oh:
        j, l = max(0, ox - tx), max(0, tx - ox)
        trow, orow = tm[i], om[k]
        while j < tw and l < ow:
            if trow[j] and orow[l]:
                flags |= COLL_HIT
                if i < top:
                    flags |= COLL_TOP
                if i >= bottom:
                    flags |= COLL_BOTTOM
                if j < left:
                    flags |= COLL_LEFT
                if j >= right:
                    flags |= COLL_RIGHT
            j += 1
            l += 1
        i += 1
        k += 1
    return flags


# ---------------------------------------------------------------------------
# The game state and its rules.


class Game:
    # What the game holds before its first new game (its own choice).
    INITIAL_ROW_Y = -21
    INITIAL_ROW_INDEX = 0

    def __init__(self, seed, sounds):
        self.rng = Rng(seed)
        self.sounds = sounds
        self.score = self.high = self.balls = 0
        self.running = self.started = 0
        self.row_y, self.row_index = self.INITIAL_ROW_Y, self.INITIAL_ROW_INDEX
        self.paddle = Sprite("qzlbase", 225, 380, False)
        self.left = Sprite("qzlwall", 0, 0, True)
        self.right = Sprite("qzlwall", 450 - 32, 0, True)
        self.ball = Ball()
        self.rows = [None] * 15  # each: [name, [brick sprites]]
        self.bonus = Sprite(None, 0, 0, False)
        self.bonus_value = None

    # Flags and points.
    def pause(self):
        self.running = 0

    def cont(self):
        if self.started:
            self.running = 1

    def add_points(self, n):
        self.score += n
        if self.score > self.high:
            self.high = self.score

    def move_paddle(self, x):
        r = self.right.x - 40
        if x >= r:
            x = r
        lft = self.left.x + 32
        if x <= lft:
            x = lft
        self.paddle.x = x

    def reset_ball(self):
        b = self.ball
        b.dx, b.dy = 1.0, 1.0
        b.x, b.y = 112.0, 225.0
        b.visible = True

    def game_over(self):
        self.paddle.visible = self.ball.visible = self.bonus.visible = False
        self.sounds.append("dead.wav")
        self.balls = 0
        self.running = self.started = 0

    def new_game(self):
        self.score, self.running, self.started = 0, 1, 1
        self.balls = 3
        self.paddle.visible = True
        self.row_index, self.row_y = 0, -21
        for row in self.rows:
            if row:
                for b in row[1]:
                    b.visible = False
        for _ in range(15):
            self.advance_wall()
        self.reset_ball()

    def advance_wall(self):
        for row in self.rows:
            if row:
                for b in row[1]:
                    b.y += 4
        r = self.rng.draw()
        if r < 300 and self.bonus.y > 20:
            self.bonus.visible = False
        else:
            self.bonus.y += 4
        self.row_y += 4
        if self.row_y < -20:
            return 0
        if self.row_index >= 15:
            self.row_index = 0
        old = self.rows[self.row_index]
        visible = sum(1 for b in old[1] if b.visible) if old else 0
        self.add_points(-10 * visible)
        n = self.rng.draw()
        name = "qzlbrick%d" % (1 + n * 9 // 32768)
        bricks = [Sprite(name, 37 + j * 25, self.row_y, True) for j in range(15)]
        self.rows[self.row_index] = [name, bricks]
        if not self.bonus.visible:
            if self.rng.draw() < 3000:
                k = self.rng.draw() % 15
                bricks[k].visible = False
                self.bonus.y = self.row_y
                self.bonus.x = bricks[k].x
                kind = self.rng.draw() % 3
                self.bonus.name = ("qzlcoin", "qzlruby", "qzldiam")[kind]
                self.bonus_value = (100, 250, 500)[kind]
                self.bonus.visible = True
        self.row_index += 1
        self.row_y -= (4 * 13 + 1) if self.row_index % 5 == 0 else 14
        return 1

    def step_ball(self):
        b = self.ball
        n = b.calc_steps()
        for _ in range(n + 1):
            b.sub_step()
            if b.gy() < 0:
                b.y = 0.0
                b.bounce(COLL_TOP)
            f = b.bounce(collide(b, self.left))
            if f:
                b.x = float(self.left.x + 32)
            f = b.bounce(collide(b, self.right))
            if f:
                b.x = float(self.right.x - 18)
            f = collide(b, self.paddle)
            if f:
                if f & COLL_TOP:
                    b.dx = -b.dx
                else:
                    bc = 18 // 2 + b.gx()
                    pc = 40 // 2 + self.paddle.x
                    off = float(bc - pc) / float(40) * 2.0
                    ndx = b.dx + 3.0 * off
                    if ndx > 3.0:
                        ndx = 3.0
                    if ndx < -3.0:
                        ndx = -3.0
                    b.dx = ndx
                    b.dy = -1.5 - math.sqrt(9.0 - ndx * ndx)
                    b.y = float(self.paddle.y - 18)
                    self.sounds.append("beam.wav")
            acc = 0
            by, bx = b.gy(), b.gx()
            for row in self.rows:
                if not row:
                    continue
                ry = row[1][0].y
                if not (by <= ry < by + 18 or ry <= by < ry + 13):
                    continue
                for brick in row[1]:
                    if not brick.visible or not (bx <= brick.x < bx + 18 or brick.x <= bx < brick.x + 24):
                        continue
                    f = collide(b, brick)
                    if f:
                        acc |= f
                        self.add_points(10)
                        brick.visible = False
            if acc:
                self.sounds.append("boing2.wav")
                b.bounce(acc)
            f = b.bounce(collide(b, self.bonus))
            if f:
                self.sounds.append("ding.wav")
                self.add_points(self.bonus_value)
                self.bonus.visible = False
            if b.gy() > 450:
                self.balls -= 1
                if self.balls == 0:
                    self.game_over()
                    return 0
                self.reset_ball()
        return 1


# ---------------------------------------------------------------------------
# The window and the replay's commands.

INFO_TEXT = ("      Quarzel v1.3\n\nA wall of bricks comes down, row by row.\n"
             "Keep the ball in play and clear the wall!\n\n"
             "Game, pictures and sounds: the Quarzel team.")


def read_language(ini_bytes):
    """The first entry that begins with "Language=": '0' after the key is
    German, anything else (or no entry) English."""
    if ini_bytes is None:
        return 1
    text = ini_bytes.split(b"\0")[0]
    for entry in text.split():
        if entry.startswith(b"Language="):
            return 0 if entry[9:10] == b"0" else 1
    return 1


class Ended(Exception):
    def __init__(self, code):
        self.code = code


class World:
    def __init__(self):
        self.out = []
        self.sounds = []
        self.boxes = []
        self.game = None
        self.now = 0
        self.timers = {}  # id -> [period, due]
        self.wall_ms = 2800
        self.lang = 0
        self.laid_by_timer = 0

    def set_timer(self, tid, period):
        self.timers[tid] = [period, self.now + period]

    def next_due(self):
        if not self.timers:
            return None
        return min((due, tid) for tid, (period, due) in self.timers.items())

    # Handlers.
    def on_timer(self, tid):
        g = self.game
        if not g.running:
            return
        if tid == 1:
            if g.advance_wall():
                self.laid_by_timer += 1
                if self.wall_ms > 800:
                    self.wall_ms -= 60
                self.set_timer(1, self.wall_ms)
        elif tid == 2:
            for _ in range(4):
                if not g.step_ball():
                    self.timers.pop(2, None)
                    self.timers.pop(1, None)
                    return

    def command(self, cid):
        g = self.game
        if cid == 101:
            g.new_game()
            self.set_timer(2, 55)
            self.wall_ms = 2800
            self.set_timer(1, self.wall_ms)
        elif cid == 102:
            raise Ended(0)
        elif cid == 103:
            g.cont()
        elif cid == 104:
            self.boxes.append(("Info", INFO_TEXT))
        elif cid in (106, 107):
            value = 1 if cid == 106 else 0
            if self.lang != value:
                self.lang = value

    def menu_select(self):
        if self.game.running:
            self.game.pause()

    def wait(self, ms):
        end = self.now + ms
        while True:
            nd = self.next_due()
            if nd is None or nd[0] > end:
                break
            due, tid = nd
            self.now = due
            self.timers[tid][1] += self.timers[tid][0]
            self.on_timer(tid)
        self.now = end

    def run(self, line, ini_bytes=None):
        """One script line; trace lines go to self.out."""
        words = line.split("#")[0].split()
        if not words:
            return
        cmd, args = words[0], words[1:]
        if cmd == "start":
            self.lang = 0
            self.game = Game(int(args[0]), self.sounds)
            self.lang = read_language(ini_bytes)
        elif cmd == "mouse":
            self.game.move_paddle(int(args[0]))
        elif cmd == "menu":
            self.menu_select()
            self.command(int(args[0]))
        elif cmd == "select":
            self.menu_select()
        elif cmd == "activate":
            if int(args[0]) == 0:
                self.game.pause()
        elif cmd == "wait":
            self.wait(int(args[0]))
        elif cmd == "close":
            raise Ended(0)
        elif cmd == "state":
            self.out.append(self.trace())
        elif cmd in ("paint", "shot"):
            pass
        else:
            raise ValueError("unknown command " + cmd)

    # The trace line, key by key.
    def trace(self):
        g = self.game
        p = []
        p.append('{"t":%d,"lang":%d,"score":%d,"high":%d,"balls":%d,"running":%d,"started":%d'
                 % (self.now, self.lang, g.score, g.high, g.balls, g.running, g.started))
        p.append(',"wall_ms":%d' % self.wall_ms)
        p.append(',"timers":{%s}' % ",".join('"%d":%d' % (tid, self.timers[tid][0])
                                             for tid in sorted(self.timers)))
        p.append(',"paddle":{"x":%d,"y":%d,"visible":%d}'
                 % (g.paddle.x, g.paddle.y, g.paddle.visible))
        b = g.ball
        p.append(',"ball":{"x":%s,"y":%s,"dx":%s,"dy":%s,"visible":%d}'
                 % (num(b.x), num(b.y), num(b.dx), num(b.dy), b.visible))
        p.append(',"row_y":%d,"row_index":%d' % (g.row_y, g.row_index))
        rows = []
        for row in g.rows:
            if not row:
                rows.append('{"bitmap":null}')
            else:
                bricks = row[1]
                rows.append('{"bitmap":"%s","x":%d,"y":%d,"visible":"%s"}'
                            % (row[0], bricks[0].x, bricks[0].y,
                               "".join("1" if s.visible else "0" for s in bricks)))
        p.append(',"rows":[%s]' % ",".join(rows))
        bo = g.bonus
        p.append(',"bonus":{"bitmap":%s,"x":%d,"y":%d,"value":%s,"visible":%d}'
                 % ('"%s"' % bo.name if bo.name else "null", bo.x, bo.y,
                    "null" if bo.name is None else str(g.bonus_value), bo.visible))
        p.append(',"sounds":[%s]' % ",".join(jstr(s) for s in self.sounds))
        p.append(',"boxes":[%s]' % ",".join("[%s,%s]" % (jstr(c), jstr(t)) for c, t in self.boxes))
        p.append("}")
        self.sounds.clear()
        self.boxes.clear()
        return "".join(p)


def num(d):
    """A double in its shortest round-trip form, integers without '.0'."""
    r = repr(float(d))
    return r[:-2] if r.endswith(".0") else r


def jstr(s):
    out = ['"']
    for ch in s:
        o = ord(ch)
        if ch == '"':
            out.append('\\"')
        elif ch == "\\":
            out.append("\\\\")
        elif ch == "\n":
            out.append("\\n")
        elif ch == "\r":
            out.append("\\r")
        elif ch == "\t":
            out.append("\\t")
        elif o < 0x20 or o == 0x7F:
            out.append("\\u%04x" % o)
        else:
            out.append(ch)
    out.append('"')
    return "".join(out)


def expect(script_path, ini_path=None):
    ini = None
    if ini_path:
        with open(ini_path, "rb") as f:
            ini = f.read()
    w = World()
    with open(script_path) as f:
        lines = f.read().splitlines()
    try:
        for line in lines:
            w.run(line, ini)
    except Ended as e:
        w.out.append('{"exit":%d}' % e.code)
    return w.out


# ---------------------------------------------------------------------------
# Planning a long game: mouse moves that put the paddle under every falling
# ball, aiming the rebound towards the middle of the field.


def landing(world):
    """Where the falling ball meets the paddle's height with no paddle in the
    way: (its whole-pixel x, its dx), or None if it is lost otherwise."""
    w = copy.deepcopy(world)
    w.game.paddle.visible = False
    w.sounds = w.game.sounds = []
    for _ in range(2000):
        b = w.game.ball
        if b.dy > 0 and b.y >= 340:
            return b.gx(), b.dx
        nd = w.next_due()
        if nd is None:
            return None
        w.wait(nd[0] - w.now)
        if not w.game.running:
            return None
    return None


def deflects(world, px):
    """True if a paddle at px sends the ball back up without a top contact."""
    w = copy.deepcopy(world)
    w.sounds = w.game.sounds = []
    w.game.move_paddle(px)
    if w.game.paddle.x != px:
        return False
    for _ in range(2000):
        nd = w.next_due()
        if nd is None:
            return False
        w.wait(nd[0] - w.now)
        b = w.game.ball
        if "beam.wav" in w.sounds:
            return b.dy < 0 and b.y < 380
        if w.game.balls < world.game.balls or not w.game.running:
            return False
    return False


def plan_long(seed, rows_wanted=36):
    script = [f"# Planned by reason.py plan-long {seed}: the mouse moves keep the ball in play.",
              f"start {seed}", "mouse 200", "menu 101", "state"]
    w = World()
    for line in script:
        w.run(line)
    pending = 0
    planned = False
    paused_once = False
    laid_seen = 0

    def flush():
        nonlocal pending
        if pending:
            script.append(f"wait {pending}")
            pending = 0

    while w.laid_by_timer < rows_wanted:
        b = w.game.ball
        if b.dy < 0:
            planned = False
        if b.dy > 0 and b.y < 300 and not planned:
            land = landing(w)
            if land is None:
                raise RuntimeError(f"the ball cannot be caught at t={w.now}")
            bx, dx = land
            target = 1.0 if bx < 216 else -1.0
            best = int(round((target - dx) / 0.15))
            for d in sorted(range(-18, 19), key=lambda d: abs(d - best)):
                px = bx + 9 - 20 - d
                if deflects(w, px):
                    break
            else:
                raise RuntimeError(f"no paddle place catches the ball at t={w.now}")
            flush()
            script.append(f"mouse {px}")
            w.run(f"mouse {px}")
            planned = True
        # A pause while the ball rises, once the wall has sped up: the game
        # stands still and Continue goes on with the shortened period.
        if not paused_once and w.laid_by_timer == 3 and b.dy < 0 and b.y < 250:
            flush()
            for line in ("select", "state", "wait 3000", "state", "menu 103", "state"):
                script.append(line)
                w.run(line)
            paused_once = True
        nd = w.next_due()
        step = nd[0] - w.now
        w.wait(step)
        pending += step
        if w.laid_by_timer != laid_seen:
            laid_seen = w.laid_by_timer
            flush()
            script.append(f"state   # {laid_seen} rows laid by the wall timer")
            w.run("state")
        if not w.game.running:
            raise RuntimeError(f"game ended at t={w.now}")
    # A new game while this one runs: three balls, a 2800 ms wall, the high
    # score kept.
    for line in ("menu 101", "state", "menu 102"):
        script.append(line)
    return script


def main(argv):
    if len(argv) >= 3 and argv[1] == "expect":
        for line in expect(argv[2], argv[3] if len(argv) > 3 else None):
            print(line)
        return 0
    if len(argv) == 3 and argv[1] == "plan-long":
        for line in plan_long(int(argv[2])):
            print(line)
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
