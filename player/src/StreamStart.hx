// Where in the file the stream in use begins. A seek-script request (pseudo-streaming) answers
// from a keyframe on: that keyframe's time and byte position turn the stream's clock and byte
// counts into the file's. Every other stream begins at 0.
class StreamStart {
    // What a seek answer without metadata must hold, past its FLV header, before a seek into it
    // can find a tag, when the keyframe index does not tell where the next keyframe begins.
    public static inline var FIRST_PART_BYTES = 64 * 1024;

    public var keyframes:Null<Keyframes> = null;
    public var time(default, null) = 0.0;
    public var byte(default, null) = 0.0;

    public function new() {}

    // A new video: its keyframes come with its metadata.
    public function reset() {
        keyframes = null;
        time = 0;
        byte = 0;
    }

    // Moves the start to the keyframe a seek to `wanted` seconds needs, when the seek leaves what
    // the stream in use can reach: before its start, or beyond `loadedUpTo` seconds. False when
    // the stream in use can go there, or no keyframe comes at or before `wanted`.
    public function moveFor(wanted:Float, loadedUpTo:Float):Bool {
        if (keyframes == null || wanted >= time && wanted <= loadedUpTo)
            return false;
        var k = keyframes.indexAt(wanted);
        if (k < 0)
            return false;
        time = keyframes.times[k];
        byte = keyframes.positions[k];
        return true;
    }

    // The file's time at the stream's clock `t`. After a seek-script request a player that
    // restarts its clock reports time from the keyframe; one that follows the tags reports the
    // file's time.
    public function fileTime(t:Float):Float {
        return byte > 0 && t < time - 1 ? t + time : t;
    }

    // The part of the file loaded, from the stream's counts; 0 while its size is unknown.
    public function loadedFraction(bytesLoaded:Float, bytesTotal:Float):Float {
        if (bytesTotal <= 0)
            return 0;
        return (byte + bytesLoaded) / (byte + bytesTotal);
    }

    public function seekAnswerHasMetadata():Bool {
        return keyframes != null && keyframes.seekAnswerHasMetadata;
    }

    // Whether a seek answer without metadata holds its first keyframe's part, up to the next
    // keyframe (or all of it). The emulator reports a full buffer as soon as the answer's FLV
    // header is in; a seek then finds no tag to go to and is lost, and the picture stays black
    // until the restarted clock reaches the keyframe's time.
    public function firstPartIn(bytesLoaded:Float, bytesTotal:Float):Bool {
        if (bytesTotal > 0 && bytesLoaded >= bytesTotal)
            return true;
        if (keyframes == null)
            return bytesLoaded >= Keyframes.FLV_HEADER_BYTES + FIRST_PART_BYTES;
        return bytesLoaded >= keyframes.firstPartBytes(byte, FIRST_PART_BYTES);
    }
}
