// The player's keys, as video players on the web have them: Space or K play and pause, the
// arrows seek by SEEK_SECONDS and step the volume as the bar's steps do, M mutes, F goes full
// screen, C steps the captions as the CC button does. A key held with Ctrl (Cmd on a Mac) or Alt
// belongs to the browser. Key codes are Flash's (the browser's keyCode).
class KeyboardControls {
    public static inline var SEEK_SECONDS = 5.0;
    // The bar's volume steps (ControlBar.VOLUME_STEPS): a key lands on a level the bar shows.
    public static inline var VOLUME_STEPS = 5;

    static var keys:Map<Int, KeyAction> = [
        32 => TogglePlay, // Space
        75 => TogglePlay, // K
        37 => SeekBy(-SEEK_SECONDS), // Left
        39 => SeekBy(SEEK_SECONDS), // Right
        38 => StepVolume(1), // Up
        40 => StepVolume(-1), // Down
        77 => ToggleMute, // M
        70 => ToggleFullScreen, // F
        67 => StepCaptions, // C
    ];

    public static function actionFor(keyCode:Int, withModifier:Bool):Null<KeyAction> {
        return withModifier ? null : keys.get(keyCode);
    }

    // Where a seek by `seconds` from `time` lands, as the seek bar's fraction of `duration`.
    public static function seekFraction(time:Float, seconds:Float, duration:Float):Float {
        if (!(duration > 0))
            return 0;
        var fraction = (time + seconds) / duration;
        return Math.isNaN(fraction) ? 0 : Math.max(0, Math.min(1, fraction));
    }

    // The volume `steps` bar steps from `level`; a level between steps goes to the next step in
    // that direction.
    public static function steppedVolume(level:Float, steps:Int):Float {
        var position = level * VOLUME_STEPS;
        // Levels read from the configuration (0-100) are a hair off the steps.
        var near = Math.round(position);
        var from = Math.abs(position - near) < 0.001 ? near : (steps > 0 ? Math.floor(position) : Math.ceil(position));
        var to = Std.int(Math.max(0, Math.min(VOLUME_STEPS, from + steps)));
        return to / VOLUME_STEPS;
    }
}
