#!/usr/bin/env python3
"""Writes the seed corpus under fuzz/corpus/. The harnesses read their input
with FuzzedDataProvider: byte strings from the front, choices from the back,
so the exchange and block seeds are built the same way."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


class Input:
    def __init__(self):
        self.front = bytearray()
        self.back = bytearray()  # in the order the harness takes them

    def choice(self, value, width=1):
        self.back += value.to_bytes(width, "big")

    def data(self, raw):
        self.front += raw

    def bytes(self):
        return bytes(self.front) + bytes(reversed(self.back))


def ident(text):
    return b"\x5f" + text.encode() + b"\x00"


def u32(*values):
    return b"".join(struct.pack("<I", v) for v in values)


def set1_block():
    head = u32(1, 2, 1, 2, 3, 1, 0, 0, 0, 30, 1, 10, 512, 0, 1, 1)
    tabs = bytes([8, 16, 24, 32] + [0] * 28)
    tail = u32(2, 1, 100, 3)
    return (head + tabs + tail).ljust(256, b"\x00")


def set2_printer_block():
    return u32(1, 5, 1, 80, 1, 0, 1, 53, 0, 17, 0).ljust(256, b"\x00")


def set2_network_block():
    mac = bytes([0x52, 0x4B, 0, 0, 0x03, 0x02, 0x01, 0x4E])
    return (mac + bytes([100, 0, 168, 192]) + struct.pack("<I", 62002) + bytes([1, 0, 168, 192, 0, 255, 255, 255])).ljust(256, b"\x00")


READ_ALL = [ident("KRN-310"), ident("Maker"), ident("1.07"), ident("SN0001"), b"\x04", b"\x00", b"\x00",
            set1_block(), set2_printer_block(), set2_network_block()]

# Exchange operations, as ExchangeFuzzer.cpp numbers them.
SERIAL, SOCKET = 1, 0
START = {"ReadAll": 0, "ReadSet1": 1, "ReadSet2": 2, "ReadInfo": 3, "Info": 4,
         "ApplySet1": 5, "FactorySet1": 6, "ApplySet2": 7, "FactorySet2": 8}


def exchange(interface, baud, start, steps):
    seed = Input()
    if interface in (0, 1):
        seed.choice(0)
        seed.choice(interface)
    else:
        seed.choice(6 if interface == -1 else 7)
    seed.choice(baud)
    seed.choice(START[start])
    for step in steps:
        kind = step[0]
        if kind == "arrive":
            _, link, raw = step
            seed.choice(0)
            seed.choice(len(raw), 2)
            seed.data(raw)
            seed.choice(link)
        elif kind == "fail":
            seed.choice(4)
            seed.choice(10059 - 10053, 2)  # -10054, connection reset
        elif kind == "advance":
            seed.choice(5)
            seed.choice(step[1], 2)
        elif kind == "start":
            seed.choice(7)
            seed.choice(START[step[1]])
    return seed.bytes()


def arrivals(link, replies):
    return [("arrive", link, r) for r in replies]


def split(link, replies):
    steps = []
    for r in replies:
        half = max(1, len(r) // 2)
        steps += [("arrive", link, r[:half]), ("arrive", link, r[half:])]
    return steps


def write(name, seeds):
    folder = os.path.join(HERE, "corpus", name)
    os.makedirs(folder, exist_ok=True)
    for seed_name, content in seeds.items():
        with open(os.path.join(folder, seed_name), "wb") as f:
            f.write(content if isinstance(content, bytes) else content.encode())


def main():
    write("fuzz_exchange", {
        "read_all_serial": exchange(0, 0, "ReadAll", arrivals(SERIAL, READ_ALL)),
        "read_all_socket_split": exchange(1, 0, "ReadAll", split(SOCKET, READ_ALL)),
        "read_set1_long_block": exchange(0, 1, "ReadSet1",
                                         arrivals(SERIAL, READ_ALL[:7] + [set1_block() + b"\xee" * 44])),
        "info_failed_receive": exchange(1, 0, "Info",
                                        arrivals(SOCKET, READ_ALL[:2]) + [("fail",), ("advance", 3000)]),
        "overflow_then_silence": exchange(0, 0, "ReadAll",
                                          arrivals(SERIAL, READ_ALL[:7]) + [("arrive", SERIAL, b"\x55" * 1300),
                                                                            ("advance", 1200)]),
        "apply_set2_reply": exchange(0, 1, "ApplySet2",
                                     [("advance", 1000), ("arrive", SERIAL, b"\x1b\x42")] + [("advance", 3000)] * 3),
        # The printer restarts without a reply: the watchdog closes the link,
        # and the move to the new parameters opens it again and reads set 2.
        "apply_set2_reconnect": exchange(0, 1, "ApplySet2",
                                         [("advance", 1000), ("advance", 3000), ("advance", 3000), ("advance", 1500)]
                                         + arrivals(SERIAL, READ_ALL[:7] + READ_ALL[8:])),
        "factory_set1_reread": exchange(1, 0, "FactorySet1",
                                        arrivals(SOCKET, READ_ALL[:3]) + [("advance", 1000)]
                                        + arrivals(SOCKET, READ_ALL[:8])),
        "factory_set2_no_interface": exchange(-1, 0, "FactorySet2", [("advance", 3000), ("start", "ApplySet1")]),
    })

    write("fuzz_ini", {
        "typical.ini": "[CONFIG]\r\nINTERFACE_TYPE=1\r\nCOM_PORT=ttyS1\r\nBAUD_RATE=9600\r\n"
                       "ETHER_IP=192.168.0.100\r\nETHER_PORT=62002\r\n",
        "other_sections.ini": "; saved by the configurator\n[OTHER]\nCOM_PORT=ttyS0\n\n[config]\n"
                              "interface_type = 0x0\nCom_Port = ttyUSB0 \nETHER_IP=\"  10.0.0.1 \"\n",
        "odd_values.ini": "\ufeff[CONFIG]\nINTERFACE_TYPE=-1\nBAUD_RATE=115201\nETHER_IP=not an address\n"
                          "ETHER_PORT=\nETHER_PORT=1\n[CONFIG]\nETHER_IP=second\n",
        "last_line_bare_cr.ini": "[CONFIG]\nINTERFACE_TYPE=1\nCOM_PORT=ttyS1\r",
        "broken.ini": "[CONFIG\nINTERFACE_TYPE\n=1\n[CONFIG]]\nCOM_PORT==ttyS0\r",
    })

    write("fuzz_text", {
        "decimal": "  -2147483648",
        "decimal_overflow": "2147483648",
        "hex_dollar": "$FFFFFFFF",
        "hex_0x": "+0x7fFFffFF",
        "tab_stops": "8,16,24,32,40,48,0",
        "tab_stops_odd": " 1,$10,0x20,,300,-1,0",
        "tab_stops_bad": "8,abc,16,",
        "many_stops": ",".join(str(i) for i in range(1, 40)) + ",0",
    })

    tail = bytes(range(1, 80))
    write("fuzz_blocks", {
        "factory": bytes(256) + tail,
        "set1_user": set1_block() + tail,
        "set2_printer_user": set2_printer_block() + tail,
        "set2_network": set2_network_block() + tail,
        "all_ones": b"\xff" * 256 + tail,
    })


if __name__ == "__main__":
    main()
