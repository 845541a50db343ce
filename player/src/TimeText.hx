// The elapsed and total time of the control bar: "m:ss", hours only when a video has them.
class TimeText {
    public static function format(seconds:Float):String {
        if (Math.isNaN(seconds) || seconds < 0)
            seconds = 0;
        var whole = Math.floor(seconds);
        var h = Math.floor(whole / 3600);
        var m = Math.floor((whole % 3600) / 60);
        var s = whole % 60;
        var ss = (s < 10 ? "0" : "") + s;
        if (h > 0)
            return h + ":" + (m < 10 ? "0" : "") + m + ":" + ss;
        return m + ":" + ss;
    }

    public static function pair(elapsed:Float, total:Float):String {
        return format(elapsed) + " / " + format(total);
    }
}
