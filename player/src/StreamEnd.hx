// The end of a download-played video, for players that do not report it: with the whole file
// loaded, a clock that reaches the end, or stands still within a second of it for more than
// STALLED_FRAMES frames, has ended.
class StreamEnd {
    static inline var STALLED_FRAMES = 20;

    var lastTime = -1.0;
    var stalledFrames = 0;

    public function new() {}

    // A new stream: its clock has not run yet.
    public function restart() {
        lastTime = -1;
        stalledFrames = 0;
    }

    // Whether the video has ended at this frame's time `t`; passed(t) closes the frame.
    public function reached(playing:Bool, t:Float, duration:Float, loaded:Float):Bool {
        if (!(playing && duration > 0 && loaded >= 1 && t >= duration - 1))
            return false;
        stalledFrames = Math.abs(t - lastTime) < 0.001 ? stalledFrames + 1 : 0;
        return stalledFrames > STALLED_FRAMES || t >= duration - 0.05;
    }

    public function passed(t:Float) {
        lastTime = t;
    }
}
