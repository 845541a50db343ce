import flash.events.AsyncErrorEvent;
import flash.events.IOErrorEvent;
import flash.events.NetStatusEvent;
import flash.events.SecurityErrorEvent;
import flash.net.NetConnection;

// A connection to the media server the videos stream from (RTMP). The emulator cannot open RTMP
// connections; a real Flash player can. Either way the visitor learns what happened instead of
// looking at a black picture: a server that has not answered within WAIT_MS has failed. The
// first answer settles it; a failure of a connection the player no longer waits for (`wanted`
// says no) is nobody's concern.
class RtmpConnection {
    static inline var WAIT_MS = 8000;
    static inline var SUCCESS = "NetConnection.Connect.Success";

    public var net(default, null) = new NetConnection();

    var settled = false;
    var wanted:NetConnection->Bool;
    var onFailed:Void->Void;

    public function new(wanted:NetConnection->Bool, onConnected:NetConnection->Void, onFailed:Void->Void) {
        this.wanted = wanted;
        this.onFailed = onFailed;
        net.addEventListener(NetStatusEvent.NET_STATUS, function(e:NetStatusEvent) {
            var code:String = Reflect.field(e.info, "code");
            if (code == SUCCESS && !settled) {
                settled = true;
                onConnected(net);
            } else if (code != SUCCESS) {
                fail();
            }
        });
        net.addEventListener(SecurityErrorEvent.SECURITY_ERROR, function(_) fail());
        net.addEventListener(AsyncErrorEvent.ASYNC_ERROR, function(_) {});
        net.addEventListener(IOErrorEvent.IO_ERROR, function(_) fail());
    }

    public function connect(address:Null<String>) {
        haxe.Timer.delay(fail, WAIT_MS);
        try {
            net.connect(address);
        } catch (e:Dynamic) {
            fail();
        }
    }

    function fail() {
        if (settled || !wanted(net))
            return;
        settled = true;
        onFailed();
    }
}
