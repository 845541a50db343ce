import flash.net.URLRequest;
import PlayerConfig.EndAction;

// What the page does once the player has stopped at the end: go to an address (in its own
// window), or run one of its functions.
class EndActions {
    public static function perform(action:EndAction, base:String) {
        switch (action) {
            case OpenAddress(address):
                try {
                    flash.Lib.getURL(new URLRequest(Addresses.resolve(address, base)), "_self");
                } catch (e:Dynamic) {}
            case CallPageFunction(name):
                // Outside the frame being run, as the emulator wants page calls.
                haxe.Timer.delay(function() Page.callFunction(name), 1);
            case Nothing:
        }
    }
}
