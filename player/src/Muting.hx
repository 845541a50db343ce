// M's memory: the level it mutes from and goes back to. A player at level 0 counts as muted.
class Muting {
    // Where M takes a player that was never louder than 0 (the configuration's volume 0).
    public static inline var AUDIBLE_LEVEL = 0.6;

    var restore = 0.0;

    public function new() {}

    // The level after M at `level`.
    public function toggle(level:Float):Float {
        if (level > 0) {
            restore = level;
            return 0;
        }
        return restore > 0 ? restore : AUDIBLE_LEVEL;
    }
}
