#!/usr/bin/env python3
"""Writes the demo competition folder data/demo/ and checks it.

The folder is what the scoring system would leave behind on one competition
day: settings file, Conf.txt, Mem.csv, seqdat.csv, pgm.txt, heat files and
final files, all in CP932 with CR LF line ends. The day is fixed here; the
couples' names and the heat draws come from a seeded random generator, so the
output is the same on every run.

    python3 tools/make_demo.py            # write data/demo/ and check it
    python3 tools/make_demo.py --check    # only check what is there

Standard library only.
"""

import argparse
import os
import random
import sys
from pathlib import Path

ENC = "cp932"
EOL = "\r\n"

ROOT = Path(__file__).resolve().parent.parent
OUT = ROOT / "data" / "demo"

DANCES = "WTVFQSCRPJ"
STANDARD = "WTVFQ"
LATIN = "SCRPJ"
TEAM_ORDER = "SCRPJWTVFQ"  # the team match tries the latin dances first

# Round names as the display shows them (round number 1-8).
ROUND_NAMES = {
    1: "１次予選", 2: "２次予選", 3: "３次予選", 4: "４次予選", 5: "５次予選",
    6: "準決勝", 7: "決　勝", 8: "下位決勝",
}
REDANCE_ROUND_NAMES = {**ROUND_NAMES, 2: "リダンス", 3: "２次予選", 4: "３次予選", 5: "４次予選"}

TEAM_CATEGORY = 5

# ---------------------------------------------------------------------------
# The day

TOP_TITLES = [
    "第３２回 東日本ダンススポーツ選手権大会",
    "２０２５年１０月１２日（日）　東京都立川市 立川グランドアリーナ",
    "主催：東日本ダンススポーツ連盟　後援：立川市・立川市教育委員会",
]
WELCOME_TITLES = [
    "ようこそ！",
    "第３２回 東日本ダンススポーツ選手権大会",
    "競技開始　午前９時３０分",
]

# code, long name, short name, first round per dance (W T V F Q S C R P J), redance
CATEGORIES = [
    ("D-ST", "アマチュア Ｄ級スタンダード", "Ｄ級スタンダード", "11761     ", False),
    ("D-LA", "アマチュア Ｄ級ラテン", "Ｄ級ラテン", "     11171", False),
    ("C-ST", "アマチュア Ｃ級スタンダード", "Ｃ級スタンダード", "11761     ", False),
    ("C-LA", "アマチュア Ｃ級ラテン", "Ｃ級ラテン", "     11171", False),
    ("TEAM", "クラブ対抗 団体戦", "団体戦", "11    11  ", False),
    ("B-ST", "アマチュア Ｂ級スタンダード", "Ｂ級スタンダード", "11711     ", False),
    ("B-LA", "アマチュア Ｂ級ラテン", "Ｂ級ラテン", "     11161", False),
    ("A-ST", "アマチュア Ａ級スタンダード", "Ａ級スタンダード", "11611     ", False),
    ("A-LA", "アマチュア Ａ級ラテン", "Ａ級ラテン", "     11111", False),
    ("P-ST", "プロフェッショナル スタンダード", "プロスタンダード", "11311     ", True),
    ("P-LA", "プロフェッショナル ラテン", "プロラテン", "     11111", False),
    ("S-ST", "アマチュア シニアスタンダード", "シニアスタンダード", "11 11     ", False),
]

# code, name, third field; a third field starting with "#" uses the "#" column
JUDGES = [
    ("A", "佐々木 一郎", "東京都"),
    ("B", "髙橋 美智子", "神奈川県"),
    ("C", "中村 健二", "千葉県"),
    ("D", "小林 由美", "埼玉県"),
    ("E", "加藤 正和", "#ＷＤＳＦ国際"),
    ("F", "吉田 恵子", "茨城県"),
    ("G", "山﨑 隆", "栃木県"),
    ("H", "松本 久美子", "群馬県"),
    ("I", "井上 誠", "山梨県"),
    ("J", "木村 さとみ", "静岡県"),
    ("K", "林 浩之", "長野県"),
    ("L", "清水 典子", "新潟県"),
    ("M", "森田 修", "#ＪＢＤＦ東部"),
    ("N", "池田 和子", "東京都"),
    ("O", "橋本 勇", "神奈川県"),
]

SCREEN_LEFT = 1436
SF_LINES = [1, 0]

# Couple pools: back numbers of the couples of each class.
POOL_D = list(range(1, 41))
POOL_C = list(range(51, 81))
POOL_B = list(range(81, 101))
POOL_A = list(range(101, 117))
POOL_SENIOR = list(range(121, 135))
POOL_PRO = list(range(201, 237))
SOLO_NUMBER = 300

AMATEUR_CLUBS = [
    "東京ＤＳ", "横浜ＤＳＣ", "川崎ダンス同好会", "千葉ダンスサークル", "さいたまＤＳ",
    "早稲田大学", "明治大学", "日本大学", "立教大学", "ＤＳ青山", "宇都宮ＤＳ",
    "前橋ダンススポーツクラブ", "水戸ＤＳ", "甲府ＤＳＣ", "立川ダンス愛好会",
]
PRO_CLUBS = [
    "髙橋ダンススクール", "山﨑ダンスアカデミー", "銀座ダンスセンター", "スタジオ目黒",
    "ダンスガーデン吉祥寺", "横浜ボールルーム", "ソシアルダンス渋谷", "大宮ダンス教室",
]
FAMILY_NAMES = [
    "佐藤", "鈴木", "髙橋", "田中", "伊藤", "渡辺", "山本", "中村", "小林", "加藤",
    "吉田", "山田", "佐々木", "山﨑", "松本", "井上", "木村", "林", "斎藤", "清水",
    "山口", "森", "池田", "橋本", "阿部", "石川", "前田", "藤田", "小川", "岡田",
    "後藤", "長谷川", "村上", "近藤", "石井", "坂本", "遠藤", "青木", "藤井", "西村",
    "福田", "太田", "三浦", "岡本", "松田", "中川", "原田", "小野", "竹内", "金子",
]
MALE_NAMES = [
    "太郎", "翔太", "健", "大輔", "拓也", "直樹", "誠", "浩二", "亮", "和也",
    "雄一", "聡", "修", "隆之", "達也", "剛", "哲也", "優斗", "蓮", "陽介",
    "一樹", "光", "悠真", "康平", "秀樹", "正人", "俊介", "智也", "勇気", "豊",
]
FEMALE_NAMES = [
    "花子", "美咲", "陽子", "恵", "さくら", "由美", "愛", "真由美", "彩", "舞",
    "千夏", "明美", "結衣", "奈々", "香織", "智子", "裕子", "優子", "綾香", "麻衣",
    "沙織", "美穂", "理恵", "瞳", "早紀", "葵", "京子", "直美", "里奈", "久美子",
]

# Entries: category number -> pool and how many of it dance the category.
ENTRIES = {
    1: (POOL_D, 32), 2: (POOL_D, 28), 3: (POOL_C, 24), 4: (POOL_C, 22),
    5: (POOL_C + POOL_B, 16), 6: (POOL_B, 14), 7: (POOL_B, 10), 8: (POOL_A, 10),
    9: (POOL_A, 10), 10: (POOL_PRO, 24), 11: (POOL_PRO, 20), 12: (POOL_SENIOR, 14),
}

# Competition rounds in running order: (category, round, heat sizes, couples passing).
# A final has one heat and nobody passes. A redance round (category 10, round 2) is
# danced by those who did not pass round 1 directly.
ROUNDS = [
    (1, 1, [11, 11, 10], 24),
    (3, 1, [12, 12], 18),
    (2, 1, [14, 14], 18),
    (4, 1, [11, 11], 16),
    (10, 1, [8, 8, 8], 12),
    (11, 1, [10, 10], 15),
    (5, 1, [8, 8], 8),
    (6, 1, [7, 7], 12),
    (12, 1, [7, 7], 7),
    (1, 2, [12, 12], 12),
    (3, 2, [9, 9], 12),
    (2, 2, [9, 9], 12),
    (4, 2, [8, 8], 12),
    (10, 2, [6, 6], 6),
    (11, 2, [8, 7], 12),
    (10, 3, [9, 9], 12),
    (8, 6, [10], 6),
    (9, 6, [10], 7),
    (6, 6, [12], 10),
    (7, 6, [10], 7),
    (1, 6, [6, 6], 6),
    (2, 6, [6, 6], 7),
    (3, 6, [12], 6),
    (4, 6, [6, 6], 6),
    (10, 6, [6, 6], 7),
    (11, 6, [12], 6),
    (1, 8, [6], 0),
    (12, 7, [7], 0),
    (5, 7, [8], 0),
    (1, 7, [6], 0),
    (2, 7, [7], 0),
    (3, 7, [6], 0),
    (4, 7, [6], 0),
    (6, 7, [10], 0),
    (7, 7, [7], 0),
    (8, 7, [6], 0),
    (9, 7, [7], 0),
    (11, 7, [6], 0),
    (10, 7, [7], 0),
]

# Two-floor items: event on floor A -> event danced at the same time on floor B.
# Event numbers are the 1-based positions in ROUNDS.
TWO_FLOOR = {1: 2, 3: 4, 8: 9, 12: 13, 34: 35}
# The floor-B event whose heats the floor-B helper writes into Assist/.
ASSIST_EVENT = 2
# The rounds whose heats are drawn anew for every dance (SH_ file): the first on one floor, the
# second on floor A beside a floor B.
SHUFFLED_EVENTS = (10, 12)

# Non-competition items, placed before the competition item of the given event
# number (None: at the end of the day).
INTERLUDES = [
    (1, "開会式"),
    (1, "審査員紹介"),
    (16, "昼休み（１２：００～１２：５０）"),
    (16, "デモンストレーション　プロフェッショナル ラテン"),
    (27, "休憩"),
    (34, "表彰式　アマチュア Ｄ級・Ｃ級、団体戦、シニア"),
    (None, "表彰式　アマチュア Ａ級・Ｂ級、プロフェッショナル"),
    (None, "閉会式"),
]

SEED = 20251012


# ---------------------------------------------------------------------------
# Helpers


def enc(text):
    return text.encode(ENC)


def pad(text, width):
    """Text padded with ASCII blanks to exactly `width` bytes."""
    raw = enc(text)
    if len(raw) > width:
        raise ValueError(f"{text!r} is {len(raw)} bytes, field holds {width}")
    return raw + b" " * (width - len(raw))


def write_lines(path, lines):
    """Writes byte or text lines, each ended with CR LF."""
    path.parent.mkdir(parents=True, exist_ok=True)
    data = b"".join((enc(l) if isinstance(l, str) else l) + enc(EOL) for l in lines)
    path.write_bytes(data)


def round_name(category, rnd):
    redance = CATEGORIES[category - 1][4]
    return (REDANCE_ROUND_NAMES if redance else ROUND_NAMES)[rnd]


def dances_of_round(category, rnd):
    """Dance letters of a round in the order the display loads them.

    A dance is danced when its first round is at most the round number; a blank
    cell counts as round 8. A category with latin dances ends up with those, as the
    round load keeps the last group it marks.
    """
    cells = CATEGORIES[category - 1][3]

    def danced(d):
        c = cells[DANCES.index(d)]
        return (8 if c == " " else int(c)) <= rnd

    if category == TEAM_CATEGORY:
        return [d for d in TEAM_ORDER if danced(d)]
    latin = [d for d in LATIN if danced(d)]
    return latin or [d for d in STANDARD if danced(d)]


def heat_line(numbers):
    return "".join(f"{n:4d}" for n in numbers)


# ---------------------------------------------------------------------------
# Building the day


class Day:
    def __init__(self):
        self.rng = random.Random(SEED)
        self.couples = {}  # back number -> (leader, partner, class, registration, club)
        self.entries = {}  # category -> back numbers
        self.strength = {}  # (category, back number) -> hidden strength
        self.rounds = []  # dicts per event, in running order
        self.finals = {}  # category -> finalists in placing order
        self.make_couples()
        self.make_entries()
        self.run_rounds()

    def make_couples(self):
        rng = self.rng
        used = set()

        def person(given_names):
            while True:
                name = f"{rng.choice(FAMILY_NAMES)} {rng.choice(given_names)}"
                if name not in used:
                    used.add(name)
                    return name

        classes = [(POOL_D, "D"), (POOL_C, "C"), (POOL_B, "B"), (POOL_A, "A"),
                   (POOL_SENIOR, "SN"), (POOL_PRO, "PRO")]
        for pool, cls in classes:
            clubs = PRO_CLUBS if cls == "PRO" else AMATEUR_CLUBS
            for n in pool:
                reg = f"{rng.randint(11, 19)}-{rng.randint(1000, 9999)}"
                self.couples[n] = (person(MALE_NAMES), person(FEMALE_NAMES), cls, reg,
                                   rng.choice(clubs))
        # A leader whose partner is not yet registered: entered, but not in any heat.
        self.couples[SOLO_NUMBER] = (person(MALE_NAMES), "", "D", "13-0457", "東京ＤＳ")
        # Make sure the extension characters of the codepage appear in names.
        self.rename(7, leader_family="髙橋")
        self.rename(58, partner_family="山﨑")
        self.rename(205, leader_family="山﨑")
        for n in (6, 64, 75):
            self.rename(n, club="品川ＤＳ①")

    def rename(self, number, leader_family=None, partner_family=None, club=None):
        leader, partner, cls, reg, old_club = self.couples[number]
        club = club or old_club
        if leader_family:
            leader = leader_family + " " + leader.split(" ")[1]
        if partner_family:
            partner = partner_family + " " + partner.split(" ")[1]
        self.couples[number] = (leader, partner, cls, reg, club)

    def make_entries(self):
        for cat, (pool, count) in ENTRIES.items():
            chosen = sorted(self.rng.sample(pool, count))
            self.entries[cat] = chosen
            for n in chosen:
                self.strength[(cat, n)] = self.rng.random()

    def rank(self, cat, couples):
        """Couples of one round, best first (strength with a little form of the day)."""
        score = {n: self.strength[(cat, n)] + self.rng.uniform(-0.15, 0.15) for n in couples}
        return sorted(couples, key=lambda n: -score[n])

    def split(self, couples, sizes, rng=None):
        assert sum(sizes) == len(couples), (sizes, len(couples))
        drawn = list(couples)
        (rng or self.rng).shuffle(drawn)
        heats, at = [], 0
        for size in sizes:
            heats.append(sorted(drawn[at:at + size]))
            at += size
        return heats

    def run_rounds(self):
        # Couples that go on to the next round, per category.
        going_on = {cat: list(e) for cat, e in self.entries.items()}
        redance = {}  # category -> couples dancing the redance round
        direct = {}  # category -> couples who passed round 1 directly
        lower = {}  # category -> semi-finalists who did not reach the final

        for number, (cat, rnd, sizes, up) in enumerate(ROUNDS, start=1):
            if rnd == 2 and CATEGORIES[cat - 1][4]:
                dancing = redance[cat]
            elif rnd == 8:
                dancing = lower[cat]
            else:
                dancing = going_on[cat]
            ranked = self.rank(cat, dancing)
            heats = self.split(dancing, sizes)
            event = {"number": number, "category": cat, "round": rnd, "heats": heats,
                     "up": up, "shuffled": None}
            if number in SHUFFLED_EVENTS:
                # Further shuffled rounds draw from a generator of their own: the other rounds'
                # draws do not depend on them.
                rng = self.rng if number == SHUFFLED_EVENTS[0] else random.Random(SEED + number)
                event["shuffled"] = [self.split(dancing, sizes, rng)
                                     for _ in dances_of_round(cat, rnd)]
            self.rounds.append(event)

            if rnd == 1 and CATEGORIES[cat - 1][4]:
                direct[cat] = ranked[:up]
                redance[cat] = ranked[up:]
            elif rnd == 2 and CATEGORIES[cat - 1][4]:
                going_on[cat] = direct[cat] + ranked[:up]
            elif rnd == 6:
                going_on[cat] = ranked[:up]
                lower[cat] = ranked[up:]
            elif rnd == 7:
                self.finals[cat] = ranked
            elif rnd < 7:
                going_on[cat] = ranked[:up]


# ---------------------------------------------------------------------------
# Writers


def conf_lines():
    lines = ["!//TT", *TOP_TITLES, "!//WC", *WELCOME_TITLES, "!//CN"]
    for code, long_name, short_name, cells, redance in CATEGORIES:
        assert len(cells) == 10
        line = pad(code, 6) + pad(long_name, 40) + pad(short_name, 20) + cells.encode("ascii")
        if redance:
            line += b"R"
        lines.append(line)
    lines.append("!//JG")
    for code, name, note in JUDGES:
        line = pad(code, 2) + pad(name, 16)
        line += b"#" + pad(note[1:], 15) if note.startswith("#") else pad(note, 16)
        lines.append(line.rstrip(b" "))
    lines += ["!//LP", str(SCREEN_LEFT), "!//SF", *map(str, SF_LINES)]
    return lines


def mem_lines(day):
    lines = []
    for n in sorted(day.couples):
        leader, partner, cls, reg, club = day.couples[n]
        lines.append(f"{n},{leader},{partner},{cls},{reg},{club}")
    return lines


def event_name(event):
    # The scoring system names an event by its number: the screens' headers and the result
    # list ("%-4s") leave room for four characters.
    return f"{event['number']:03d}"


def seqdat_lines(day):
    by_number = {e["number"]: e for e in day.rounds}
    lines = []
    for e in day.rounds:
        ints = [e["category"], e["round"], len(e["heats"]), e["up"], 0, 0, 0, 0, 0, 0, 0, 0]
        b = TWO_FLOOR.get(e["number"])
        if b:
            eb = by_number[b]
            ints[5:10] = [b, eb["category"], eb["round"], len(eb["heats"]), eb["up"]]
        lines.append(event_name(e) + "," + ",".join(map(str, ints)))
    return lines


def item_text(event):
    cat = event["category"]
    return f"{CATEGORIES[cat - 1][1]} {round_name(cat, event['round'])}"


def programme(day):
    """Items in running order: (kind, code, text, floor-B code, floor-B text)."""
    floor_b = set(TWO_FLOOR.values())
    by_number = {e["number"]: e for e in day.rounds}
    items = []
    for e in day.rounds:
        for before, text in INTERLUDES:
            if before == e["number"]:
                items.append(("1", "", text, "", ""))
        if e["number"] in floor_b:
            continue
        b = TWO_FLOOR.get(e["number"])
        bcode = f"{b:03d}" if b else ""
        btext = item_text(by_number[b]) if b else ""
        items.append(("0", f"{e['number']:03d}", item_text(e), bcode, btext))
    items += [("1", "", text, "", "") for before, text in INTERLUDES if before is None]
    return items


def pgm_lines(day):
    lines = []
    for kind, code, text, bcode, btext in programme(day):
        lines.append(pad(kind, 1) + b" " + pad(code, 4) + b"  " + enc(text))
        if bcode:
            lines.append(b"+ " + pad(bcode, 4) + b"  " + enc(btext))
    return lines


def final_lines(day, cat):
    finalists = day.finals[cat]
    count = len(finalists)
    def zen(n):
        return "".join("０１２３４５６７８９"[int(d)] for d in str(n))

    lines = [f"第１位～第{zen(count)}位　{CATEGORIES[cat - 1][1]}"]
    dances = dances_of_round(cat, 7)
    for place, n in enumerate(finalists, start=1):
        leader, partner, _, _, club = day.couples[n]
        marks = " ".join(str(min(count, max(1, place + day.rng.choice((-1, 0, 0, 0, 1)))))
                         for _ in dances)
        line = (pad(f"{zen(place)}位", 6) + b"  " + pad(leader, 18) + pad(partner, 18)
                + pad(club, 26) + enc(f"{n:4d} - {marks}"))
        lines.append(line)
    return lines


def logo_bmp(size=240):
    """A neutral emblem for the top-left logo box: a gold ring around an eight-pointed star on
    night blue, as a 24-bit BMP (the format the scoring system's logo file has)."""
    import math
    gold, blue, deep = (222, 184, 92), (36, 52, 110), (8, 12, 40)
    c = size / 2
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(size):
            acc = [0, 0, 0]
            for sy in range(4):
                for sx in range(4):
                    dx = (x + (sx + 0.5) / 4 - c) / c
                    dy = (y + (sy + 0.5) / 4 - c) / c
                    r = math.hypot(dx, dy)
                    star = 0.78 * (0.42 + 0.58 * abs(math.cos(4 * math.atan2(dy, dx))) ** 6)
                    if r > 0.94:
                        px = (0, 0, 0)
                    elif r > 0.86:
                        px = gold
                    elif r < star or r < 0.16:
                        px = gold if r > 0.11 else blue
                    else:
                        t = r / 0.86
                        px = tuple(int(b * (1 - t) + d * t) for b, d in zip(blue, deep))
                    for i in range(3):
                        acc[i] += px[i]
            red, green, b = (v // 16 for v in acc)
            row += bytes((b, green, red))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = b"BM" + (54 + len(pixels)).to_bytes(4, "little") + bytes(4) + (54).to_bytes(4, "little")
    info = ((40).to_bytes(4, "little") + size.to_bytes(4, "little") + size.to_bytes(4, "little")
            + (1).to_bytes(2, "little") + (24).to_bytes(2, "little") + bytes(4)
            + len(pixels).to_bytes(4, "little") + (2835).to_bytes(4, "little") * 2 + bytes(8))
    return header + info + pixels


def write_all(day):
    write_lines(OUT / "TRQsys.ini", ["[データ保存]", "Path=.", "", "[特殊]", "Mod=1000"])
    (OUT / "_GRF.bmp").write_bytes(logo_bmp())
    write_lines(OUT / "Conf.txt", conf_lines())
    write_lines(OUT / "Mem.csv", mem_lines(day))
    write_lines(OUT / "seqdat.csv", seqdat_lines(day))
    write_lines(OUT / "pgm.txt", pgm_lines(day))
    for e in day.rounds:
        cat, rnd = e["category"], e["round"]
        write_lines(OUT / f"H_{cat:02d}_{rnd}.dat", [heat_line(h) for h in e["heats"]])
        if e["shuffled"]:
            write_lines(OUT / f"SH_{cat:02d}_{rnd}.dat",
                        [heat_line(h) for block in e["shuffled"] for h in block])
        if e["number"] == ASSIST_EVENT:
            # The floor-B helper runs the same heats in its own order, last heat first.
            write_lines(OUT / "Assist" / f"H_{cat:02d}_{rnd}.dat",
                        [heat_line(h) for h in reversed(e["heats"])])
    for cat in sorted(day.finals):
        write_lines(OUT / f"F_{cat:02d}.dat", final_lines(day, cat))


# ---------------------------------------------------------------------------
# Checks of the written folder (they read the files back, not the Day)


class Checker:
    def __init__(self):
        self.errors = []

    def fail(self, where, what):
        self.errors.append(f"{where}: {what}")

    def read(self, name):
        """Lines of a file as bytes, without their CR LF; checks encoding and line ends."""
        path = OUT / name
        if not path.is_file():
            self.fail(name, "missing")
            return []
        data = path.read_bytes()
        try:
            data.decode(ENC)
        except UnicodeDecodeError as err:
            self.fail(name, f"not CP932: {err}")
        if not data.endswith(b"\r\n"):
            self.fail(name, "last line has no CR LF")
        lines = data.split(b"\r\n")[:-1]
        for i, line in enumerate(lines, 1):
            if b"\r" in line or b"\n" in line:
                self.fail(name, f"line {i}: stray CR or LF")
        return lines

    def boundaries(self, name, i, line, columns):
        """Every column boundary must fall between two characters, never inside one."""
        starts, at = set(), 0
        while at < len(line):
            starts.add(at)
            b = line[at]
            at += 2 if (0x81 <= b <= 0x9F or 0xE0 <= b <= 0xFC) else 1
        starts.add(len(line))
        for c in columns:
            if c < len(line) and c not in starts:
                self.fail(name, f"line {i}: column {c} cuts a double-byte character")

    def field(self, line, a, b):
        return line[a:b].decode(ENC, errors="replace").strip()

    def run(self):
        ini = self.read("TRQsys.ini")
        for want in ("[データ保存]", "Path=.", "[特殊]", "Mod=1000"):
            if enc(want) not in ini:
                self.fail("TRQsys.ini", f"no line {want}")

        categories = self.check_conf()
        couples = self.check_mem()
        events = self.check_seqdat(categories)
        self.check_pgm(events, categories)
        self.check_rounds(events, categories, couples)
        self.check_finals(events, categories, couples)
        return self.errors

    def check_conf(self):
        lines = self.read("Conf.txt")
        section, categories, judges, counts = None, [], [], {}
        for i, line in enumerate(lines, 1):
            if line.startswith(b"!//"):
                section = line[3:5].decode()
                counts[section] = 0
                continue
            counts[section] = counts.get(section, 0) + 1
            if len(line) > 254:
                self.fail("Conf.txt", f"line {i} longer than a data line may be")
            if section == "CN":
                self.boundaries("Conf.txt", i, line, [6, 46, 66])
                cells = line[66:76].decode("ascii")
                if len(cells) != 10 or any(c not in " 1234567" for c in cells):
                    self.fail("Conf.txt", f"line {i}: dance cells {cells!r}")
                categories.append({"code": self.field(line, 0, 6),
                                   "long": self.field(line, 6, 46),
                                   "short": self.field(line, 46, 66),
                                   "cells": cells, "redance": line[76:77] == b"R"})
            elif section == "JG":
                hash_note = line[18:19] == b"#"
                self.boundaries("Conf.txt", i, line, [2, 18, 19 if hash_note else 18, 34])
                judges.append((self.field(line, 0, 2), self.field(line, 2, 18)))
                if len(line) > 34:
                    self.fail("Conf.txt", f"line {i}: judge line past column 34")
        if counts.get("TT") != 3 or counts.get("WC") != 3:
            self.fail("Conf.txt", "TT and WC need three lines each")
        if counts.get("LP") != 1 or counts.get("SF") != 2:
            self.fail("Conf.txt", "LP needs one line, SF two")
        if len(judges) != 15 or not all(code and name for code, name in judges):
            self.fail("Conf.txt", "15 judges with code and name wanted")
        if sum(c["redance"] for c in categories) != 1:
            self.fail("Conf.txt", "exactly one category with the redance flag wanted")
        team = categories[TEAM_CATEGORY - 1]["cells"] if len(categories) >= TEAM_CATEGORY else ""
        if team != "11    11  ":
            self.fail("Conf.txt", f"team match dance cells {team!r}")
        return categories

    def check_mem(self):
        couples = {}
        for i, line in enumerate(self.read("Mem.csv"), 1):
            fields = line.decode(ENC).split(",")
            if len(fields) != 6 or not fields[0].isdigit():
                self.fail("Mem.csv", f"line {i}: {fields}")
                continue
            n = int(fields[0])
            if n in couples:
                self.fail("Mem.csv", f"back number {n} twice")
            if not 1 <= n <= 300:
                self.fail("Mem.csv", f"back number {n} out of 1-300")
            couples[n] = fields
        text = (OUT / "Mem.csv").read_bytes().decode(ENC)
        for ch in ("髙", "﨑", "①"):
            if ch not in text:
                self.fail("Mem.csv", f"no {ch}")
        if sum(1 for f in couples.values() if f[2] == "") != 1:
            self.fail("Mem.csv", "exactly one solo entry wanted")
        return couples

    def check_seqdat(self, categories):
        events = []
        for i, line in enumerate(self.read("seqdat.csv"), 1):
            if len(line) > 126:
                self.fail("seqdat.csv", f"line {i} too long")
            fields = line.decode(ENC).split(",")
            name, ints = fields[0], [int(f) for f in fields[1:]]
            if len(ints) != 12 or not name[:3].isdigit():
                self.fail("seqdat.csv", f"line {i}: {fields}")
                continue
            if not 1 <= ints[0] <= len(categories) or not 1 <= ints[1] <= 8:
                self.fail("seqdat.csv", f"line {i}: category or round out of range")
            events.append({"name": name, "number": int(name[:3]), "ints": [0] + ints})
        numbers = [e["number"] for e in events]
        if len(set(numbers)) != len(numbers):
            self.fail("seqdat.csv", "event numbers repeat")
        by_number = {e["number"]: e for e in events}
        two_floor = 0
        for e in events:
            r = e["ints"]
            if r[6]:
                two_floor += 1
                b = by_number.get(r[6])
                if not b or b["ints"][1:5] != r[7:11]:
                    self.fail("seqdat.csv", f"event {e['number']}: floor B does not match "
                                            f"event {r[6]}'s own line")
        if two_floor < 2:
            self.fail("seqdat.csv", "fewer than two two-floor events")
        rounds = {e["ints"][2] for e in events}
        for want in (1, 2, 6, 7, 8):
            if want not in rounds:
                self.fail("seqdat.csv", f"no event of round {want}")
        return events

    def check_pgm(self, events, categories):
        by_number = {e["number"]: e for e in events}
        lines = self.read("pgm.txt")
        self.programme_events = []
        previous = None
        for i, line in enumerate(lines, 1):
            if len(line) < 2 or len(line) > 126:
                self.fail("pgm.txt", f"line {i}: length {len(line)}")
                continue
            kind = chr(line[0])
            self.boundaries("pgm.txt", i, line, [8])
            if line[1:2] != b" " or line[6:8] != b"  " or kind not in "01+":
                self.fail("pgm.txt", f"line {i}: columns 0, 1, 6-7 wrong")
            code = self.field(line, 2, 6)
            text = line[8:].decode(ENC)
            if text != text.strip() or not text:
                self.fail("pgm.txt", f"line {i}: text has outer blanks or is empty")
            if kind == "1":
                if code:
                    self.fail("pgm.txt", f"line {i}: non-competition item with a code")
                previous = None
                continue
            event = by_number.get(int(code[:3])) if code[:3].isdigit() else None
            if not event:
                self.fail("pgm.txt", f"line {i}: code {code!r} is no event")
                continue
            cat, rnd = event["ints"][1], event["ints"][2]
            if 1 <= cat <= len(categories):
                c = categories[cat - 1]
                names = REDANCE_ROUND_NAMES if c["redance"] else ROUND_NAMES
                want = f"{c['long']} {names[rnd]}"
                if text != want:
                    self.fail("pgm.txt", f"line {i}: text {text!r}, event says {want!r}")
                if text.rsplit(" ", 1)[-1] != names[rnd]:
                    self.fail("pgm.txt", f"line {i}: round name is not after the last blank")
            if kind == "0":
                previous = event
                self.programme_events.append(event)
            else:
                if not previous or previous["ints"][6] != event["number"]:
                    self.fail("pgm.txt", f"line {i}: '+' line does not follow its floor-A item")
                else:
                    self.programme_events.append(event)
                previous = None
        if len(lines) < 30:
            self.fail("pgm.txt", "fewer than 30 items")

    def read_heats(self, name, couples):
        rows = []
        for i, line in enumerate(self.read(name), 1):
            if len(line) % 4 or not 5 <= len(line) + 1 <= 81:
                self.fail(name, f"line {i}: length {len(line)}")
            row = []
            for k in range(0, len(line), 4):
                f = line[k:k + 4].decode("ascii")
                if not f.strip().isdigit() or f != f"{int(f):4d}":
                    self.fail(name, f"line {i}: field {f!r}")
                    continue
                row.append(int(f))
            for n in row:
                if n not in couples:
                    self.fail(name, f"line {i}: back number {n} not in Mem.csv")
            rows.append(row)
        return rows

    def check_round_rows(self, name, rows, heats, lo=6, hi=14):
        if len(rows) != heats:
            self.fail(name, f"{len(rows)} heats, seqdat.csv says {heats}")
        for row in rows:
            if not lo <= len(row) <= hi:
                self.fail(name, f"heat of {len(row)} couples")
        flat = [n for row in rows for n in row]
        if len(flat) != len(set(flat)):
            self.fail(name, "a couple dances twice in the round")
        return set(flat)

    def check_rounds(self, events, categories, couples):
        sizes = []
        shuffled = set()  # of each shuffled round: whether a floor B dances beside it
        assist = 0
        for e in self.programme_events:
            cat, rnd, heats = e["ints"][1], e["ints"][2], e["ints"][3]
            name = f"H_{cat:02d}_{rnd}.dat"
            rows = self.read_heats(name, couples)
            if rnd == 7:
                if len(rows) != 1 or not 6 <= len(rows[0]) <= 10:
                    self.fail(name, "a final is one line of 6-10 finalists")
            dancing = self.check_round_rows(name, rows, heats)
            sizes += [len(r) for r in rows]
            sh = f"SH_{cat:02d}_{rnd}.dat"
            if (OUT / sh).exists():
                shuffled.add(e["ints"][6] != 0)
                dances = len(dances_of_round(cat, rnd))
                sh_rows = self.read_heats(sh, couples)
                if len(sh_rows) != dances * heats:
                    self.fail(sh, f"{len(sh_rows)} lines for {dances} dances of {heats} heats")
                for d in range(dances):
                    block = sh_rows[d * heats:(d + 1) * heats]
                    if self.check_round_rows(sh, block, heats) != dancing:
                        self.fail(sh, f"dance {d + 1}: other couples than {name}")
            ax = f"Assist/H_{cat:02d}_{rnd}.dat"
            if (OUT / ax).exists():
                assist += 1
                if not any(b["ints"][6] == e["number"] for b in events):
                    self.fail(ax, "not a floor-B event")
                if self.check_round_rows(ax, self.read_heats(ax, couples), heats) != dancing:
                    self.fail(ax, f"other couples than {name}")
        if shuffled != {False, True}:
            self.fail("heat files", "want a shuffled round on one floor and one beside floor B")
        if assist != 1:
            self.fail("heat files", f"{assist} Assist files, one wanted")
        if not any(s > 10 for s in sizes) or not any(s <= 10 for s in sizes):
            self.fail("heat files", "want heats both over and up to 10 couples")

    def check_finals(self, events, categories, couples):
        finals = {e["ints"][1] for e in self.programme_events if e["ints"][2] == 7}
        present = {int(p.name[2:4]) for p in OUT.glob("F_*.dat")}
        if finals != present:
            self.fail("F_ files", f"finals {sorted(finals)}, files {sorted(present)}")
        for cat in sorted(finals & present):
            name = f"F_{cat:02d}.dat"
            lines = self.read(name)
            finalists = self.read_heats(f"H_{cat:02d}_7.dat", couples)
            finalists = set(finalists[0]) if finalists else set()
            title = lines[0].decode(ENC) if lines else ""
            if not title.endswith(categories[cat - 1]["long"]):
                self.fail(name, f"title {title!r}")
            placed = []
            for i, line in enumerate(lines[1:], 2):
                if len(line) + 1 < 50 or len(line) + 1 > 127:
                    self.fail(name, f"line {i}: {len(line) + 1} bytes with its line end")
                self.boundaries(name, i, line, [6, 8, 26, 44, 70])
                if line[6:8] != b"  ":
                    self.fail(name, f"line {i}: columns 6-7 not blank")
                at = line.find(b" - ")
                number = int(line[at - 3:at].decode("ascii")) if at >= 3 else -1
                placed.append(number)
                fields = couples.get(number)
                got = [self.field(line, 8, 26), self.field(line, 26, 44),
                       self.field(line, 44, 70)]
                if not fields or got != [fields[1], fields[2], fields[5]]:
                    self.fail(name, f"line {i}: {got} is not couple {number} of Mem.csv")
                want = "".join("０１２３４５６７８９"[int(d)] for d in str(i - 1)) + "位"
                if self.field(line, 0, 6) != want:
                    self.fail(name, f"line {i}: placing {self.field(line, 0, 6)!r}")
            if set(placed) != finalists or len(placed) != len(finalists):
                self.fail(name, f"placed {placed}, finalists {sorted(finalists)}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="only check the folder")
    parser.add_argument("--dir", type=Path, help="folder to check instead of data/demo/")
    args = parser.parse_args()
    global OUT
    if args.dir:
        OUT = args.dir.resolve()
        args.check = True
    if not args.check:
        write_all(Day())
    errors = Checker().run()
    for e in errors:
        print(e, file=sys.stderr)
    print(f"{OUT}: {len(os.listdir(OUT))} entries, "
          f"{len(errors)} problem(s)")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
