import flash.display.Stage;
import flash.events.KeyboardEvent;

// The keys the stage receives, turned into KeyboardControls' actions. The emulator tells the
// movie nothing when its element takes the keyboard focus (no activate event, no focus event
// until a click), so the page rings the element instead (zevoswf.js) and the movie draws none.
class KeyboardInput {
    public function new(stage:Stage, onAction:KeyAction->Void) {
        stage.addEventListener(KeyboardEvent.KEY_DOWN, function(e:KeyboardEvent) {
            var action = KeyboardControls.actionFor(e.keyCode, e.ctrlKey || e.altKey);
            if (action != null)
                onAction(action);
        });
    }
}
