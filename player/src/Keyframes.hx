// The metadata's keyframe index, for seeking through the seek script: a request can only start
// at a keyframe, so a wanted time goes to the last keyframe at or before it.
class Keyframes {
    public var times(default, null):Array<Float>;
    public var positions(default, null):Array<Float>;
    // Whether the seek script's answer for this video starts with its metadata: it sends the
    // metadata along with the AVC and AAC configuration, for H.264 video or AAC sound only.
    public var seekAnswerHasMetadata(default, null) = false;

    public function new(times:Array<Float>, positions:Array<Float>) {
        this.times = [];
        this.positions = [];
        var n = times.length < positions.length ? times.length : positions.length;
        for (i in 0...n) {
            if (Math.isNaN(times[i]) || Math.isNaN(positions[i]))
                continue;
            this.times.push(times[i]);
            this.positions.push(positions[i]);
        }
    }

    public static function fromMetadata(info:Dynamic):Null<Keyframes> {
        var frames:Dynamic = info == null ? null : Reflect.field(info, "keyframes");
        if (frames == null)
            return null;
        var t = numbers(Reflect.field(frames, "times"));
        var p = numbers(Reflect.field(frames, "filepositions"));
        var k = new Keyframes(t, p);
        k.seekAnswerHasMetadata = codec(info, "videocodecid") == AVC || codec(info, "audiocodecid") == AAC;
        return k.times.length == 0 ? null : k;
    }

    static inline var AVC = 7;
    static inline var AAC = 10;

    static function codec(info:Dynamic, name:String):Float {
        return Std.parseFloat(Std.string(Reflect.field(info, name)));
    }

    static function numbers(list:Dynamic):Array<Float> {
        var out = [];
        if (list == null || !Std.isOfType(list, Array))
            return out;
        var a:Array<Dynamic> = list;
        for (v in a)
            out.push(v == null ? Math.NaN : Std.parseFloat(Std.string(v)));
        return out;
    }

    // The bytes a seek answer from the keyframe at file position `start` must hold before a seek
    // into it can find a tag: the FLV header the seek script puts in front, and that keyframe's
    // part of the file up to the next keyframe (`fallback` bytes of it after the last keyframe or
    // from a position that is no keyframe's).
    public function firstPartBytes(start:Float, fallback:Float):Float {
        var k = positions.indexOf(start);
        var part = k >= 0 && k + 1 < positions.length ? positions[k + 1] - start : fallback;
        return FLV_HEADER_BYTES + part;
    }

    public static inline var FLV_HEADER_BYTES = 13;  // the file header and PreviousTagSize0

    // Index of the keyframe a seek to `seconds` starts at; -1 when none comes at or before it.
    public function indexAt(seconds:Float):Int {
        var found = -1;
        for (i in 0...times.length) {
            if (times[i] <= seconds + 0.001 && (found < 0 || times[i] >= times[found]))
                found = i;
        }
        return found;
    }
}
