#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (fuzz/corpus/<target>/) from rows of the
ordinary tests. Each seed is laid out as its target reads it with libFuzzer's
FuzzedDataProvider: strings from the front, numbers from the back."""
import gzip
import hashlib
import os
import struct
import sys
import zlib


class Seed:
    """Bytes in FuzzedDataProvider's layout."""

    def __init__(self):
        self.front = b""
        self.back = []  # one list of bytes per number, in the order they are consumed

    def integral(self, value, lo, hi, width):
        # ConsumeIntegralInRange: (value - lo) in as many bytes as the range needs, the
        # first consumed byte being the last byte of the data and the most significant.
        span = hi - lo
        offset = value - lo
        count = 0
        while count < width and (span >> (8 * count)) > 0:
            count += 1
        digits = [(offset >> (8 * (count - 1 - i))) & 0xFF for i in range(count)]
        self.back.append(bytes(digits))
        return self

    def boolean(self, value):
        return self.integral(1 if value else 0, 0, 255, 1)

    def string(self, data):
        # ConsumeRandomLengthString: a backslash doubles itself; a backslash and another byte
        # end the string.
        self.front += data.replace(b"\\", b"\\\\") + b"\\n"
        return self

    def rest(self, data):
        self.front += data
        return self

    def bytes(self):
        tail = b"".join(reversed([bytes(reversed(b)) for b in self.back]))
        return self.front + tail


def member(payload, flags=0, method=8, crc=None, extra=b"", name=b"", comment=b""):
    out = bytes([0x1F, 0x8B, method, flags]) + b"\x01\x01\x01\x01\x02\x03"
    if flags & 0x04:
        out += struct.pack("<H", len(extra)) + extra
    if flags & 0x08:
        out += name + b"\0"
    if flags & 0x10:
        out += comment + b"\0"
    if flags & 0x02:
        out += b"\x00\x00"
    deflater = zlib.compressobj(6, zlib.DEFLATED, -15)
    out += deflater.compress(payload) + deflater.flush()
    out += struct.pack("<II", zlib.crc32(payload) if crc is None else crc, len(payload))
    return out


def gzip_seeds():
    one = member(b"192.0.2.1:80<br>198.51.100.7:808<br>")
    two = member(b"first ") + member(b"second")
    bodies = [
        b"",
        one,
        two,
        gzip.compress(b"\xb1\xb1\xbe\xa9 " * 40),
        member(b"x", flags=0x1E, extra=b"ab", name=b"n.txt", comment=b"c"),
        member(b"x", method=9),
        member(b"x", flags=0x20),
        member(b"checked", crc=0x12345678),
        one[: len(one) // 2],
        one[:-3],
        one + b"trailing bytes",
        one + b"\x1f",
        one + b"\x1f\x8b\x08",
        b"plain text, no magic",
        member(bytes(range(256)) * 8),
    ]
    for body in bodies:
        yield (Seed().rest(body).integral(4096, 1, 5000, 8).integral(4096, 1, 5000, 8)
               .integral(len(body) // 2, 0, 1 << 16, 8).integral(len(body) - 1 if body else 0,
                                                                  0, 0xFFFF, 2).bytes())


def position(seed, value):
    if value is None:
        return seed.boolean(True)
    seed.boolean(False)
    if -3 <= value <= 300:
        return seed.integral(1, 0, 7, 4).integral(value, -3, 300, 4)
    return seed.integral(0, 0, 7, 4).integral(value, -(1 << 31), (1 << 31) - 1, 4)


def text_operation_seeds():
    # (operation, flag, start, count, search, replacement, text) from the operations' tables.
    rows = [
        (0, False, None, None, b"XY", b"", b"abcdefghXY"),
        (0, False, 11, None, b"XY", b"", b"abcdefghXY"),
        (0, False, 10, None, b"XY", b"", b"abXYefghXY"),
        (0, False, -(1 << 31), None, b"XY", b"", b"abXY"),
        (0, False, None, None, b"\xa1\x62", b"", b"\xb0\xa1\x62"),
        (0, False, None, None, b"\xa1\xa1", b"", b"\xa1\xa1\xa1"),
        (0, True, None, None, b"</html>", b"", b"x</HTML>y"),
        (0, False, None, None, b"<br>", b"", b"\xb0<br>"),
        (0, True, None, None, b"\xc1\x61", b"", b"\xc1\x41"),
        (1, True, None, None, b"aa", b"b", b"aaaa"),
        (1, False, None, None, b"<br>", b"\r\n", b"1<BR>2<Br>"),
        (1, True, None, 1, b"ab", b"X", b"ababab"),
        (1, True, 3, -2, b"ab", b"X", b"abababab"),
        (1, True, None, None, b"\r\n", b"", b"\xb0\r\nx"),
        (1, True, 2, None, b"\xa1\x62", b"Z", b"\xb0\xa1\x62"),
        (1, True, None, None, b"\xb0", b"Z", b"ab\xb0"),
        (2, False, None, None, b"", b"", b"  \xa1\xa1 x y "),
        (2, False, None, None, b"", b"", b"\xa1\xa1\xa1"),
        (2, False, None, None, b"", b"", b"\r\n  x"),
        (3, False, 3, None, b"", b"", b"\xb1\xb1\xbe\xa9"),
        (3, False, -3, None, b"", b"", b"abcde"),
        (3, False, (1 << 31) - 1, None, b"", b"", b"abc"),
    ]
    for operation, flag, start, count, search, replacement, text in rows:
        seed = Seed().integral(operation, 0, 3, 4).boolean(flag)
        position(seed, start)
        position(seed, count)
        yield seed.string(search).string(replacement).rest(text).bytes()


HEAD = b"<html><head><title>\xb4\xfa\xc0\xed</title></head><body>x</body>"
END = b"</html>"


def page_seeds():
    fw = b"\xa1\xa1"
    lists = [
        END + b"192.0.2.1:80<br>198.51.100.7:808<br>",
        END + b"\r\n  192.0.2.1:80<br>\r\n198.51.100.7:808<BR>\r\n",
        END + fw + fw + b"  " + fw + b"192.0.2.1:80<br>198.51.100.7:808",
        END + b"192.0.2.1:80\n198.51.100.7:808\n",
        END + b"192.0.2.1:80\r\r\n\n<br>",
        END + b"192.0.2.1:80<b\r\nr>",
        END + b"192.0.2.1:80  <br>  ",
        END + b"\t192.0.2.1:80<br>",
        END + b"x" + END + b"192.0.2.1:80<br>",
        END + b"192.0.2.1:80<br>" + END,
        END,
        END + b"\r\n",
        END + b"192.0.2.1:80<br/>",
        END + b"a\xe4\xbd\xa0\r\nb<br>",
        END + b"a\xe4\xbd\xa0<br>b<br>",
        END + b"a\xb1\xb1\r\nb<br>",
    ]
    yield b""
    yield b"<HTML></HTML>192.0.2.1:80<br>"
    for tail in lists:
        yield HEAD + tail


def url_seeds():
    yield from [
        b"http://127.0.0.1:8931/get_ip.php?sxb=\xb1\xb1\xbe\xa9&tqsl=10&ports=&ktip=&sxa=&submit=",
        b"  \t\r\nhttp://h/get_ip.php?sxa=\xb5\xe7\xd0\xc5&submit=",
        b"http://h/\x80\xff/",
        b"http://h/a b?c d",
        b"http://h/?a=\x01\t\x1f\x7f",
        b"http://u:p@h:81/a/b?c=d&e=f:g",
        b"http://h/%41%zz?x=%",
        b"http://h/a/./b/../c",
        b"http://h/../../a",
        b"http://h/a/b/..",
        b"http://h/a.b/..c/.d",
        b"http://h/a/../b?x=/../y",
        b"http://h/a/../b#/../y",
        b"http://h?x=/../y",
        b"http://h/x \t\r\n\x0b\x0c",
        b"h/a/../b c",
        b"\xa1\xa1http://h/",
        b"",
    ]


def cp936_seeds():
    yield from [
        b"192.0.2.1:80\r\n",
        "北京".encode(),
        "\u20ac".encode(),
        b"a\xf0\x9f\x98\x80b",
        b"a\xffb",
        b"a\xe5\x8c",
        b"\xed\xa0\x80",
        b"ab\0cd",
        b"",
        b"\xb1\xb1\xbe\xa9\xb5\xe7\xd0\xc5",
        "全部运营商 电信 联通 移动 提取中".encode("gbk"),
        "全部运营商".encode(),
    ]


def header_seeds():
    rows = [
        (b"", b"http://h/"),
        (b"", b"http://h/?sxb=\xb1\xb1\xbe\xa9 x"),
        (b"X-One: 1", b"http://h/"),
        (b"Accept: text/html\r\n", b"http://h/"),
        (b"accept: text/html\r\n", b"http://h/"),
        (b"X-Referer: a\r\n", b"http://h/"),
        (b"", b"http://h/?Accept-Language: x"),
        (b"", b"http://h/?a\r\nX-Evil: 1\r\n\r\n"),
    ]
    for caller, url in rows:
        yield Seed().string(caller).rest(url).bytes()


def number_box_seeds():
    texts = [b"", b"0", b"-0", b"007", b"12ab", b"1.2.3", b"32767", b"32768", b"-32769",
             b"99999", b"2147483648", b" \t\r\n\x0b\x0c-15", b"+42", b"--5", b"- 5",
             b"9223372036854775808", b"-1234567890123456789012345678901234567890"]
    for index, text in enumerate(texts):
        box = index % 3
        seed = Seed().integral(box, 0, 2, 4)
        if box == 2:
            seed.integral(5, -(1 << 63), (1 << 63) - 1, 8)
            seed.integral(100, -(1 << 63), (1 << 63) - 1, 8)
        yield seed.integral(len(text) // 2, 0, 40, 8).rest(text).bytes()


TARGETS = {
    "gzip_members_fuzz": gzip_seeds,
    "text_operations_fuzz": text_operation_seeds,
    "clean_list_page_fuzz": page_seeds,
    "canonical_url_fuzz": url_seeds,
    "cp936_from_utf8_fuzz": cp936_seeds,
    "header_block_fuzz": header_seeds,
    "number_box_fuzz": number_box_seeds,
}


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    for target, seeds in TARGETS.items():
        folder = os.path.join(root, target)
        os.makedirs(folder, exist_ok=True)
        for seed in seeds():
            name = hashlib.sha1(seed).hexdigest()
            with open(os.path.join(folder, name), "wb") as f:
                f.write(seed)
    return 0


if __name__ == "__main__":
    sys.exit(main())
