#!/usr/bin/env python3
"""Writes the product catalogue beside the program's sources:

    resources/usersetting/Config.ini   (models, ids, firmware names, theme colours)
    resources/driver_sensor.h          (sensor feature switches, DPI code tables)

Run it by hand after changing a table below and commit both outputs:

    python3 tools/gen_catalogue.py

The catalogue stores identity, id and firmware values Base64-encoded (the
program decodes exactly the keys in CODED_KEYS); everything else is plain.
Keeping the values here, in one place, keeps the ids, the coded forms and the
sensor tables consistent with each other.
"""

import base64
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Keys whose values the program decodes from Base64, whatever their group.
CODED_KEYS = {
    "MM", "DM", "D2M", "D4M", "D8M", "Sensor", "CID", "VID", "USB_PID",
    "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID",
}

# --- product line --------------------------------------------------------
# Every supported device reports this CID in the low byte of its id.
CID = 86
VENDOR_IDS = ["0x3A7C"]

# Product ids by connection. A device found through a receiver list reports
# the link code of that receiver kind (kind 1: code 0, kind 2: code 4,
# kind 4: code 1, kind 8: code 5); cabled mice report code 2.
PRODUCT_IDS = {
    "USB_PID":       ["0x7C10", "0x7C11"],   # mice on their cable
    "Wireless_PID":  ["0x7C21"],             # 1000 Hz receiver (kind 1)
    "Wireless2_PID": ["0x7C22"],             # 2000 Hz receiver (kind 2)
    "Wireless4_PID": ["0x7C24"],             # 4000 Hz receiver (kind 4)
    "Wireless8_PID": ["0x7C28"],             # 8000 Hz receiver (kind 8)
}

# Theme: deep charcoal surfaces with one electric-cyan accent. The image
# generator (tools/imagegen) draws with the same accent.
THEME = {
    "LabelColor":            (214, 222, 235),
    "ButtonColor":           (236, 250, 255),
    "ComboxTextColor":       (214, 222, 235),
    "ComboxSelectColor":     (0, 122, 158),
    "ComboxBackGroundColor": (38, 43, 52),
    "SliderColor":           (0, 200, 255),
    "LinEditColor":          (214, 222, 235),
    "LinEditColorSecond":    (0, 200, 255),
}

OPTION_PLAIN = {
    "InterfaceId": 1,
    "DeviceId": 5,
    "ShowBatteryValue": 1,
    "Transition": 0,
}

# Default button functions (type, p1, p2 in hexadecimal). A list starting with
# "0x05" is a key-sequence default: three items give a consumer usage as item
# 2, four items a key-combination text as item 3.
LEFT, RIGHT, MIDDLE = "0x01,0x01,0x00", "0x01,0x02,0x00", "0x01,0x04,0x00"
BACK, FORWARD = "0x01,0x08,0x00", "0x01,0x10,0x00"
DPI_CYCLE, DPI_UP, DPI_DOWN = "0x02,0x01,0x00", "0x02,0x02,0x00", "0x02,0x03,0x00"
UNDEFINED = "0x00,0x00,0x00"
VOLUME_UP = "0x05,0x00,0xE9"
COPY_KEYS = "0x05,0x00,0x00,Ctrl+C"

RAINBOW = [255, 40, 40, 255, 150, 0, 255, 230, 0, 0, 230, 90,
           0, 200, 255, 40, 90, 255, 190, 60, 255, 255, 255, 255]

# --- models (catalogue groups Drive1..DriveN, in this order) -------------
# Drive1 is what the simulator attaches by default: a wireless mouse behind
# its 8000 Hz receiver. MID 29 selects picture variant 0 on the device list.
MODELS = [
    {
        "name": "VELMORAX Vanta 8K (wireless, 8000 Hz receiver)",
        "MID": 29,
        "Sensor": "3950",
        "DPIMaxGrade": 8,
        "DPIGrade": [400, 800, 1600, 3200, 6400, 12000, 20000, 30000],
        "DPIColor": RAINBOW,
        "DPIRange": ["50", "10000", "50", "10100", "30000", "100", "22"],
        "XIn1": 1,
        "KeyNumber": 6,
        "KeyParam": [LEFT, RIGHT, MIDDLE, BACK, FORWARD, DPI_CYCLE],
        "Adveanced": ["0", "1"],
        "MM": "VMX29_MOUSE",
        "DM": "VMX29_RX1K",
        "D2M": "VMX29_RX2K",
        "D4M": "VMX29_RX4K",
        "D8M": "VMX29_RX8K",
    },
    {
        "name": "VELMORAX Kestrel (wireless, 1000/4000 Hz receivers)",
        "MID": 30,
        "Sensor": "3395",
        "DPIMaxGrade": 6,
        "DPIGrade": [400, 800, 1600, 3200, 6400, 12800, 16000, 26000],
        "DPIColor": RAINBOW,
        "DPIRange": ["50", "26000", "50", "11"],
        "XIn1": 1,
        "KeyNumber": 8,
        "KeyParam": [LEFT, RIGHT, MIDDLE, BACK, FORWARD, DPI_CYCLE, DPI_UP, COPY_KEYS],
        "Adveanced": ["0", "-1"],
        "MM": "VMX30_MOUSE",
        "DM": "VMX30_RX1K",
        "D2M": "",
        "D4M": "VMX30_RX4K",
        "D8M": "",
    },
    {
        "name": "VELMORAX Drift Lite (wireless, 1000 Hz receiver)",
        "MID": 31,
        "Sensor": "VX26",          # DPI codes come from driver_sensor.h
        "DPIMaxGrade": 5,
        "DPIGrade": [400, 800, 1200, 1600, 3200, 6400, 10000, 12800],
        "DPIColor": RAINBOW,
        "DPIRange": ["100", "12800", "100", "11"],
        "XIn1": 2,
        "KeyNumber": 7,
        "KeyParam": [LEFT, RIGHT, MIDDLE, BACK, FORWARD, DPI_CYCLE, VOLUME_UP],
        "Adveanced": ["-1", "-1"],
        "MM": "VMX31_MOUSE",
        "DM": "VMX31_RX1K",
        "D2M": "",
        "D4M": "",
        "D8M": "",
    },
]

# --- sensor table --------------------------------------------------------
# Sensors whose DPI codes are not arithmetic: every DPI the editor can reach
# has its own named code.
TABLE_SENSORS = {
    # sensor: (first DPI, last DPI, step, code of the first DPI)
    "VX26": (100, 12800, 100, 0x10),
}

SWITCHES = [
    ("SUPPORT_SENSOR_MODE_SEL", "3395,3950"),
    ("SUPPORT_LOD_CAL", "3395,3950,VX26"),
    ("SUPPORT_RIPPLE", "3395,3950"),
    ("SUPPORT_FIXLINE", "3395,3950,VX26"),
    ("SUPPORT_MOTION_SYNC", "3395,3950"),
    ("SUPPORT_MOUSEPAD_CAL", "3950"),
]


def b64(text):
    return base64.b64encode(text.encode("utf-8")).decode("ascii")


def ini_value(key, value):
    """One INI value: lists are comma-separated, coded keys are Base64 item
    by item (an empty item stays empty)."""
    items = value if isinstance(value, list) else [value]
    items = [str(v) for v in items]
    if key in CODED_KEYS:
        items = [b64(v) if v else "" for v in items]
    for item in items:
        if any(c in item for c in ',"\\;=\n') and key not in CODED_KEYS:
            raise ValueError("%s: item %r cannot be written plainly" % (key, item))
    return ",".join(items)


def check_models():
    mids = [m["MID"] for m in MODELS]
    if len(set(mids)) != len(mids):
        sys.exit("two models share a MID")
    if len(MODELS) >= 15:
        sys.exit("the device list counts at most 14 models")
    for m in MODELS:
        if not 0 <= m["MID"] <= 255:
            sys.exit("MID out of range")
        if not 1 <= m["DPIMaxGrade"] <= 8 or len(m["DPIGrade"]) != 8:
            sys.exit("%s: DPI stages" % m["name"])
        if len(m["DPIColor"]) != 24 or len(m["KeyParam"]) > 16:
            sys.exit("%s: colours or buttons" % m["name"])
        if not 0 < m["KeyNumber"] <= 16 or len(m["Adveanced"]) != 2:
            sys.exit("%s: KeyNumber or Adveanced" % m["name"])
        segments = (len(m["DPIRange"]) - 1) // 3
        if not 1 <= segments <= 4 or m["DPIRange"][-1] not in ("11", "22", "33"):
            sys.exit("%s: DPIRange" % m["name"])


def config_ini():
    lines = ["; VELMORAX product catalogue. Generated by tools/gen_catalogue.py;",
             "; edit the tables there and run it again.", "", "[Option]"]

    def put(key, value):
        lines.append("%s=%s" % (key, ini_value(key, value)))

    put("DeviceTotal", len(MODELS))
    put("CID", str(CID))
    put("VID", VENDOR_IDS)
    for key, pids in PRODUCT_IDS.items():
        put(key, pids)
    for key, value in OPTION_PLAIN.items():
        put(key, value)
    for key, rgb in THEME.items():
        put(key, list(rgb))

    for n, m in enumerate(MODELS, start=1):
        lines += ["", "; " + m["name"], "[Drive%d]" % n]
        put("MID", m["MID"])
        put("Sensor", m["Sensor"])
        put("DPIMaxGrade", m["DPIMaxGrade"])
        put("DPIGrade", m["DPIGrade"])
        put("DPIColor", m["DPIColor"])
        put("DPIRange", m["DPIRange"])
        put("XIn1", m["XIn1"])
        put("KeyNumber", m["KeyNumber"])
        params = m["KeyParam"] + [UNDEFINED] * (16 - len(m["KeyParam"]))
        for i, param in enumerate(params, start=1):
            put("KeyParam%d" % i, param.split(","))
        put("Adveanced", m["Adveanced"])
        for key in ("MM", "DM", "D2M", "D4M", "D8M"):
            put(key, m[key])
    return "\n".join(lines) + "\n"


def driver_sensor_h():
    # Comment lines are kept to four or more words: the program's reader
    # takes lines of two or three blank-separated parts as table entries.
    out = ["/* Sensor feature switches and DPI code tables of the VELMORAX catalogue.",
           " * Generated by tools/gen_catalogue.py from its tables; do not edit by hand.",
           " * Each switch lists the sensors that support the feature, comma separated.",
           " */",
           "#pragma once",
           ""]
    for key, sensors in SWITCHES:
        out.append("#define %s\t%s" % (key, sensors))
    for sensor, (first, last, step, code) in TABLE_SENSORS.items():
        out += ["", "/* DPI codes of the %s sensor, one per reachable DPI value. */" % sensor]
        for dpi in range(first, last + 1, step):
            if code > 0xFF:
                sys.exit("%s: code past one byte" % sensor)
            out.append("#define SENSOR_%s_DPI_%d\t0x%02X" % (sensor, dpi, code))
            code += 1
    return "\n".join(out) + "\n"


def write(path, text):
    full = os.path.join(ROOT, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    print("wrote", path)


def main():
    check_models()
    for sensor in TABLE_SENSORS:
        if "I" in sensor:
            # The program finds the DPI of a table name two characters after
            # its first capital I, which must be the one of "_DPI_".
            sys.exit("table sensor names must not hold a capital I")
    write("resources/usersetting/Config.ini", config_ini())
    write("resources/driver_sensor.h", driver_sensor_h())


if __name__ == "__main__":
    main()
