typedef Cue = {
    start:Float,
    end:Float,
    text:String
}

// The cues of a WebVTT caption file, as plain text lines. A file that does not begin with the
// WEBVTT signature is not a caption file and gives no cues; inside one, a block whose timing
// cannot be read is passed over as a browser passes it over, and the other cues still show.
// Styling is not drawn: tags are dropped and only the escapes of the text are decoded.
class WebVtt {
    static final TIMESTAMP = ~/^(?:([0-9]{2,}):)?([0-5][0-9]):([0-5][0-9])\.([0-9]{3})$/;

    public static function parse(text:String):Array<Cue> {
        var cues:Array<Cue> = [];
        if (text == null)
            return cues;
        if (StringTools.startsWith(text, "\uFEFF"))
            text = text.substr(1);
        var lines = ~/\r\n|\r|\n/g.split(text);
        if (!isSignature(lines[0]))
            return cues;
        var i = 1;
        // The header runs to the first blank line.
        while (i < lines.length && lines[i] != "")
            i++;
        while (i < lines.length) {
            while (i < lines.length && lines[i] == "")
                i++;
            var block = [];
            while (i < lines.length && lines[i] != "")
                block.push(lines[i++]);
            var cue = cueOf(block);
            if (cue != null)
                cues.push(cue);
        }
        return cues;
    }

    // The text of every cue showing at `time`, earliest first, one per line; "" for none.
    public static function textAt(cues:Array<Cue>, time:Float):String {
        var shown = [];
        for (cue in cues)
            if (time >= cue.start && time < cue.end)
                shown.push(cue.text);
        return shown.join("\n");
    }

    static function isSignature(line:Null<String>):Bool {
        if (line == null || !StringTools.startsWith(line, "WEBVTT"))
            return false;
        var after = line.charAt(6);
        return after == "" || after == " " || after == "\t";
    }

    // A cue block is an optional identifier line, the timing line, then the text; NOTE, STYLE
    // and REGION blocks and anything without a timing line are not cues.
    static function cueOf(block:Array<String>):Null<Cue> {
        if (block.length == 0 || isKeyword(block[0], "NOTE") || isKeyword(block[0], "STYLE")
            || isKeyword(block[0], "REGION"))
            return null;
        var timing = block[0].indexOf("-->") >= 0 ? 0 : 1;
        if (timing >= block.length || block[timing].indexOf("-->") < 0)
            return null;
        var arrow = block[timing].indexOf("-->");
        var start = seconds(StringTools.trim(block[timing].substr(0, arrow)));
        // Cue settings (position, alignment) may follow the end time after a blank.
        var after = StringTools.trim(block[timing].substr(arrow + 3));
        var end = seconds(~/[ \t]/.split(after)[0]);
        if (start == null || end == null || end <= start)
            return null;
        var text = [for (k in timing + 1...block.length) plainText(block[k])].join("\n");
        return StringTools.trim(text) == "" ? null : {start: start, end: end, text: text};
    }

    static function isKeyword(line:String, word:String):Bool {
        if (!StringTools.startsWith(line, word))
            return false;
        var after = line.charAt(word.length);
        return after == "" || after == " " || after == "\t";
    }

    static function seconds(stamp:String):Null<Float> {
        if (!TIMESTAMP.match(stamp))
            return null;
        var hours = TIMESTAMP.matched(1);
        return (hours == null ? 0 : Std.parseFloat(hours)) * 3600
            + Std.parseInt(TIMESTAMP.matched(2)) * 60 + Std.parseInt(TIMESTAMP.matched(3))
            + Std.parseInt(TIMESTAMP.matched(4)) / 1000;
    }

    // A line of cue text without its tags (<i>, <b>, <v Name>, <c.class>, timestamps), the
    // escapes decoded after the tags are gone, so "&lt;i&gt;" stays visible text.
    static function plainText(line:String):String {
        var out = new StringBuf();
        var i = 0;
        while (i < line.length) {
            var ch = line.charAt(i);
            if (ch == "<") {
                var close = line.indexOf(">", i);
                i = close < 0 ? line.length : close + 1;
            } else if (ch == "&") {
                var escape = escapeAt(line, i);
                out.add(escape == null ? "&" : escape.text);
                i += escape == null ? 1 : escape.length;
            } else {
                out.add(ch);
                i++;
            }
        }
        return out.toString();
    }

    static final ESCAPES = [
        "&amp;" => "&", "&lt;" => "<", "&gt;" => ">", "&nbsp;" => "\u00A0", "&lrm;" => "\u200E",
        "&rlm;" => "\u200F"
    ];

    static function escapeAt(line:String, at:Int):Null<{text:String, length:Int}> {
        for (name => text in ESCAPES)
            if (line.substr(at, name.length) == name)
                return {text: text, length: name.length};
        return null;
    }
}
