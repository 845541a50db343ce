// What a key asks of the player; KeyboardControls maps the keys to these.
enum KeyAction {
    TogglePlay;
    SeekBy(seconds:Float);
    StepVolume(steps:Int);
    ToggleMute;
    ToggleFullScreen;
    StepCaptions;
}
