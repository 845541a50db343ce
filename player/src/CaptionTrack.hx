// One caption track of a video, from the `cc` attribute of its line: the fields run
// address|language|label, track after track, all joined by `|`. The address is already a URL
// (its `|` written as %7C like its other escapes); in the language and the label the generator
// escapes only `%` and `|`, so exactly those two are undone there.
class CaptionTrack {
    public var address(default, null):String;
    public var language(default, null):String;
    public var label(default, null):String;

    public function new(address:String, language:String, label:String) {
        this.address = address;
        this.language = language;
        this.label = label;
    }

    // What the player calls the track: its label, else its language, else a plain word.
    public function name():String {
        if (label != "")
            return label;
        return language != "" ? language : "Captions";
    }

    // The tracks of a `cc` value (entities already decoded); an incomplete last group and a
    // track without an address are left out.
    public static function listOf(value:Null<String>):Array<CaptionTrack> {
        var tracks = [];
        if (value == null || StringTools.trim(value) == "")
            return tracks;
        var fields = value.split("|");
        var i = 0;
        while (i + 3 <= fields.length) {
            var address = StringTools.trim(fields[i]);
            if (address != "")
                tracks.push(new CaptionTrack(address, unescape(fields[i + 1]), unescape(fields[i + 2])));
            i += 3;
        }
        return tracks;
    }

    // Read left to right, so "%257C" is the text "%7C", not a bar.
    static function unescape(field:String):String {
        if (field.indexOf("%") < 0)
            return field;
        var out = new StringBuf();
        var i = 0;
        while (i < field.length) {
            var code = field.substr(i, 3).toUpperCase();
            if (code == "%25" || code == "%7C") {
                out.add(code == "%25" ? "%" : "|");
                i += 3;
            } else {
                out.add(field.charAt(i));
                i++;
            }
        }
        return out.toString();
    }
}
