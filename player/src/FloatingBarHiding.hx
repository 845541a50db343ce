import flash.display.Stage;
import flash.events.Event;
import flash.events.MouseEvent;

// A floating bar the configuration hides while the video plays: it shows while the pointer
// moves over the player and for IDLE_MS after, and whenever the video is not playing.
class FloatingBarHiding {
    static inline var IDLE_MS = 2500;

    var bar:ControlBar;
    var lastPointerMove = 0.0;

    public function new(stage:Stage, bar:ControlBar) {
        this.bar = bar;
        stage.addEventListener(MouseEvent.MOUSE_MOVE, function(_) {
            lastPointerMove = haxe.Timer.stamp() * 1000;
            bar.visible = true;
        });
        stage.addEventListener(Event.MOUSE_LEAVE, function(_) lastPointerMove = 0);
    }

    public function update(playing:Bool) {
        bar.visible = !playing || haxe.Timer.stamp() * 1000 - lastPointerMove < IDLE_MS;
    }
}
