import haxe.io.Bytes;

// The configuration file declares UTF-8 but the program writes it in Windows-1252 (non-ASCII
// text as character references today, as raw bytes in files of older versions). A file that is
// valid UTF-8 is read as UTF-8, anything else byte by byte as Windows-1252.
class TextDecoding {
    // Windows-1252 0x80..0x9F; 0 marks the five unassigned bytes, kept as the C1 control.
    static final HIGH = [
        0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
        0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC,
        0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178
    ];

    public static function decode(bytes:Bytes):String {
        var start = bytes.length >= 3 && bytes.get(0) == 0xEF && bytes.get(1) == 0xBB
            && bytes.get(2) == 0xBF ? 3 : 0;
        var utf8 = utf8Text(bytes, start);
        return utf8 != null ? utf8 : cp1252Text(bytes, start);
    }

    static function cp1252Text(bytes:Bytes, start:Int):String {
        var out = new StringBuf();
        for (i in start...bytes.length) {
            var b = bytes.get(i);
            out.addChar(b >= 0x80 && b < 0xA0 && HIGH[b - 0x80] != 0 ? HIGH[b - 0x80] : b);
        }
        return out.toString();
    }

    static function utf8Text(bytes:Bytes, start:Int):Null<String> {
        var out = new StringBuf();
        var i = start;
        while (i < bytes.length) {
            var b = bytes.get(i);
            var extra = b < 0x80 ? 0 : (b >= 0xC2 && b < 0xE0 ? 1 : (b >= 0xE0 && b < 0xF0 ? 2 : (b >= 0xF0 && b < 0xF5 ? 3 : -1)));
            if (extra < 0 || i + extra >= bytes.length + (extra == 0 ? 1 : 0))
                return null;
            var code = extra == 0 ? b : b & (0x3F >> extra);
            for (k in 1...extra + 1) {
                var next = bytes.get(i + k);
                if (next & 0xC0 != 0x80)
                    return null;
                code = (code << 6) | (next & 0x3F);
            }
            // Overlong forms and surrogates are not UTF-8 text.
            if ((extra == 2 && code < 0x800) || (extra == 3 && (code < 0x10000 || code > 0x10FFFF))
                || (code >= 0xD800 && code < 0xE000))
                return null;
            out.addChar(code);
            i += extra + 1;
        }
        return out.toString();
    }
}
