import flash.display.Shape;
import flash.display.Stage;
import flash.events.Event;
import flash.events.KeyboardEvent;

// The keys the stage receives, turned into KeyboardControls' actions, and the ring that shows
// the player has the keyboard: drawn along the stage's edge while the movie is active.
class KeyboardInput {
    public var ring(default, null) = new Shape();
    public var focused(default, null) = false;

    var onAction:KeyAction->Void;
    var width = 0.0;
    var height = 0.0;

    public function new(stage:Stage, onAction:KeyAction->Void) {
        this.onAction = onAction;
        ring.visible = false;
        stage.addEventListener(KeyboardEvent.KEY_DOWN, keyDown);
        stage.addEventListener(Event.ACTIVATE, function(_) showFocus(true));
        stage.addEventListener(Event.DEACTIVATE, function(_) showFocus(false));
    }

    public function layout(w:Float, h:Float) {
        width = w;
        height = h;
        draw();
    }

    function keyDown(e:KeyboardEvent) {
        var action = KeyboardControls.actionFor(e.keyCode, e.ctrlKey || e.altKey);
        if (action != null)
            onAction(action);
    }

    function showFocus(value:Bool) {
        focused = value;
        ring.visible = value;
    }

    // Two lines, light inside dark, so the ring shows on any picture and any tint.
    function draw() {
        var g = ring.graphics;
        g.clear();
        if (width < 6 || height < 6)
            return;
        g.lineStyle(2, SkinStyle.focusOuter);
        g.drawRect(1, 1, width - 2, height - 2);
        g.lineStyle(1, SkinStyle.focusInner);
        g.drawRect(3, 3, width - 6, height - 6);
        g.lineStyle();
    }
}
