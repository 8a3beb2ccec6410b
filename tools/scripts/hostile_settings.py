#!/usr/bin/env python3
"""Writes the hostile settings corpus: engine.ini files (engine-*.ini) and user
files (user-*.cfg) that a careless or malicious hand could leave, for
tests/app/hostile_settings_test.cpp. Run: tools/scripts/hostile_settings.py tests/data/hostile"""
import os
import random
import sys

ENGINE_INT = ["SwapButtons", "JoyCursor", "Key1", "Key2", "KeyLeft", "KeyRight", "KeyUp", "KeyDown",
              "TabletMode", "WindowCursorScaling", "Fullscreenwidth", "Fullscreenheight", "FullscreenAspect",
              "InternalAspect", "Windowwidth", "Windowed", "SpritesMainMem", "BilinearFiltering", "Vsync",
              "RefreshRate", "FrameSkip", "JoystickId", "JoystickButtons", "StoreUserDataLocally",
              "SavePrefsOnExit"]
ENGINE_FLOAT = ["Cursorspeed", "FullscreenMouseSpeed"]
USER = ["AudioVolume", "Windowed", "Smoothing", "HiScore", "MaxBounce"]
INTS = ["0", "-1", "1", "-2147483648", "2147483647", "2147483648", "-2147483649", "99999999999999999999",
        "-99999999999999999999", "255", "256", "65535", "65536", "1000000", "-1000000", "7", "$7FFFFFFF",
        "%1111", "0x10", "  42  ", "+5", "--5", "5abc", "", "abc", "1e9", "\t-0"]
FLOATS = ["nan", "NaN", "inf", "-inf", "infinity", "1e39", "-1e39", "1e400", "1e-400", "1e-45", "0", "-0",
          "3.4028235e38", "1" + "0" * 400, "0." + "0" * 400 + "1", "1e99999999999", ".5", "5.", ".", "-.e5",
          "1e", "1e+", "0x1p3", "  2.5  ", "abc"]


def write(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main(folder):
    rnd = random.Random(1208)
    os.makedirs(folder, exist_ok=True)
    n = 0

    def put(kind, label, text):
        nonlocal n
        n += 1
        data = text if isinstance(text, bytes) else text.encode("latin-1")
        ext = "ini" if kind == "engine" else "cfg"
        label = label.replace("Aspect", "Ratio").replace("aspects", "ratios")  # plain file names
        write(folder, "%s-%03d-%s.%s" % (kind, n, label, ext), data)

    # Every integer key with every hostile integer value.
    for key in ENGINE_INT:
        for value in rnd.sample(INTS, 5):
            put("engine", "int-" + key, "%s = %s\r\n" % (key, value))
    for key in ENGINE_FLOAT:
        for value in FLOATS:
            put("engine", "float-" + key, "%s = %s\r\n" % (key, value))
    for aspect in ["-1", "0", "5", "6", "1000", "-2147483648"]:
        put("engine", "aspects", "FullscreenAspect = %s\nInternalAspect = %s\n" % (aspect, aspect))
    for value in ["256", "300", "1000", "-1", "2147483647", "-2147483648"]:
        put("engine", "keys", "".join("%s = %s\r\n" % (k, value) for k in ENGINE_INT[2:8]))
    for w, h in [("0", "0"), ("-1", "-1"), ("2147483647", "2147483647"), ("1", "1"), ("100000", "3")]:
        put("engine", "sizes", "Windowed = 0\nFullscreenwidth = %s\nFullscreenheight = %s\nWindowwidth = %s\n" % (w, h, w))
    for user in USER:
        for value in rnd.sample(INTS, 6):
            put("user", "value-" + user, "%s = %s\r\n" % (user, value))
    for kind in ["engine", "user"]:
        keys = ENGINE_INT + ENGINE_FLOAT if kind == "engine" else USER
        put(kind, "empty", b"")
        put(kind, "long-line", "Windowed = " + "9" * 66000 + "\r\n")
        put(kind, "long-key", "A" * 66000 + " = 1\r\n" + keys[0] + " = 1\r\n")
        put(kind, "long-comment", ";" + "x" * 66000)
        put(kind, "no-newline", keys[0] + " = 0")
        put(kind, "cr-only", "\r".join("%s = 1" % k for k in keys) + "\r")
        put(kind, "lf-only", "\n".join("%s = 1" % k for k in keys))
        put(kind, "blank-lines", "\r\n\r\n\n\r" * 1000 + keys[-1] + "=2")
        put(kind, "duplicates", "".join("%s = %d\r\n" % (keys[0], i) for i in range(500)))
        put(kind, "group-first", "[Settings]\r\n" + "".join("%s = 0\r\n" % k for k in keys))
        put(kind, "bom", b"\xef\xbb\xbf" + ("%s = 0\r\n" % keys[0]).encode())
        put(kind, "bom-only", b"\xef\xbb\xbf")
        put(kind, "half-bom", b"\xef\xbb")
        put(kind, "nul-bytes", ("%s = 1\x00\r\n%s = 2\r\n" % (keys[0], keys[-1])).encode())
        put(kind, "only-equals", "=\r\n==\r\n = = = \r\n")
        put(kind, "unclosed-group", "[" + "g" * 1000)
        put(kind, "utf8-junk", b"\xef\xbb\xbf" + b"\xff\xfe\xc3\x28\xe2\x82\x28\xf0\x90\x28\xbc = \xf8\xa1\xa1\xa1\xa1\r\n")
        put(kind, "utf16", ("%s = 0\r\n" % keys[0]).encode("utf-16"))
        for i in range(8):
            put(kind, "binary", bytes(rnd.randrange(256) for _ in range(rnd.randrange(1, 4096))))
        for i in range(6):
            lines = []
            for _ in range(rnd.randrange(1, 60)):
                k = rnd.choice(keys + ["", "X" * 100, ";", "["])
                v = rnd.choice(INTS + FLOATS)
                sep = rnd.choice(["=", " = ", "\t=\t", "==", ""])
                end = rnd.choice(["\r\n", "\n", "\r", "\n\r", ""])
                lines.append(k + sep + v + end)
            put(kind, "mixed", "".join(lines))
    print(n, "files")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "tests/data/hostile")
