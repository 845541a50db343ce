import flash.events.AsyncErrorEvent;
import flash.events.IOErrorEvent;
import flash.events.NetStatusEvent;
import flash.media.SoundTransform;
import flash.net.NetConnection;
import flash.net.NetStream;
import PlayerConfig.DeliveryMode;

// The stream of the video that plays, as the configuration delivers it: a download played as it
// arrives, requests to the seek script from a keyframe on (pseudo-streaming), or a media server
// (RTMP). It shows on the screen's video and tells its time, duration and how much has loaded.
class VideoStream {
    static inline var NOT_LOADED = "The video could not be loaded.";
    static inline var NO_SERVER = "This video streams from a media server (RTMP) that could not be reached here.";

    public var onPlaying:Bool->Void;
    // Once a frame, as the bar shows it: the part played, the part loaded, the time and the
    // duration.
    public var onProgress:(Float, Float, Float, Float)->Void;
    public var onEnd:Void->Void;

    public var playing(default, null) = false;
    public var duration(default, null) = 0.0;

    var config:PlayerConfig;
    var base:String;
    var screen:Screen;
    var file = "";
    var connection:Null<NetConnection> = null;
    var stream:Null<NetStream> = null;
    var start = new StreamStart();
    var end = new StreamEnd();
    // The seek a new stream without metadata still owes once its first part is in.
    var seekWhenFirstPartIn:Null<Void->Void> = null;

    public function new(config:PlayerConfig, base:String, screen:Screen) {
        this.config = config;
        this.base = base;
        this.screen = screen;
    }

    // Starts `file`, the video's Flash file (or stream name on the media server), from its
    // beginning.
    public function play(file:String) {
        this.file = file;
        duration = 0;
        start.reset();
        if (config.delivery == Rtmp) {
            connectRtmp();
            return;
        }
        openStream(address(0));
    }

    public function isOpen():Bool {
        return stream != null;
    }

    public function pause() {
        stream.pause();
        setPlaying(false);
    }

    public function resume() {
        stream.resume();
        setPlaying(true);
    }

    public function stop() {
        close();
        setPlaying(false);
    }

    public function currentTime():Float {
        return stream == null ? 0 : start.fileTime(stream.time);
    }

    public function loadedFraction():Float {
        return stream == null ? 0 : start.loadedFraction(stream.bytesLoaded, stream.bytesTotal);
    }

    // Seeks to `fraction` of the video. True when the stream in use went there; false when the
    // video cannot seek (yet), or a seek-script request from the keyframe before it replaced
    // the stream.
    public function seek(fraction:Float):Bool {
        if (stream == null || duration <= 0 || config.delivery == Rtmp && config.live)
            return false;
        var wanted = fraction * duration;
        if (config.delivery == Pseudo && start.moveFor(wanted, loadedFraction() * duration)) {
            openStream(address(start.byte), start.byte > 0 ? start.time : null);
            return false;
        }
        if (config.delivery == Progressive) {
            // Only the part already loaded can be reached in a progressive download.
            var reachable = loadedFraction() * duration - 0.5;
            if (wanted > reachable)
                wanted = Math.max(0, reachable);
        }
        stream.seek(wanted);
        return true;
    }

    // The emulator plays video sound at its own volume, which the page sets (Page); a real
    // Flash player follows the stream's sound transform.
    public function setVolume(level:Float) {
        if (stream != null)
            stream.soundTransform = new SoundTransform(level);
        // Called outside the frame being run, as the emulator wants page calls.
        haxe.Timer.delay(function() Page.setEmulatorVolume(level), 1);
    }

    // Once a frame: the seek a new stream owes, the progress, and the end of a video whose
    // player does not report it.
    public function tick() {
        if (stream == null) {
            onProgress(0, 0, 0, duration);
            return;
        }
        if (seekWhenFirstPartIn != null && firstPartIn(stream))
            seekWhenFirstPartIn();
        var t = currentTime();
        onProgress(duration > 0 ? t / duration : 0, loadedFraction(), t, duration);
        if (end.reached(playing, t, duration, loadedFraction()))
            onEnd();
        end.passed(t);
    }

    function address(startAt:Float):String {
        if (config.delivery == Pseudo)
            return Addresses.seekAddress(base, file, startAt);
        return Addresses.resolve(file, base);
    }

    function ensureLocalConnection() {
        if (connection == null || config.delivery == Rtmp) {
            connection = new NetConnection();
            connection.connect(null);
        }
    }

    function openStream(address:String, ?seekAfterStart:Float) {
        close();
        ensureLocalConnection();
        var ns = new NetStream(connection);
        attach(ns, seekAfterStart);
        ns.play(address);
    }

    function connectRtmp() {
        close();
        var server = new RtmpConnection(function(nc) return connection == nc, function(nc) {
            var ns = new NetStream(nc);
            attach(ns);
            ns.play(file, config.live ? -1 : 0);
        }, function() {
            setPlaying(false);
            screen.showMessage(NO_SERVER);
        });
        connection = server.net;
        server.connect(config.rtmpAddress);
    }

    function attach(ns:NetStream, ?seekAfterStart:Float) {
        stream = ns;
        // The emulator's clock restarts at 0 on a new request; a real player's follows the
        // tags. Seeking to the keyframe's time agrees with both, once the stream has data. A
        // seek answer for H.264 or AAC starts with the metadata and the decoder configuration,
        // and seeking before the emulator has read them leaves the picture black: wait for the
        // metadata. Other answers start straight with the keyframe: the first bytes will do.
        var seekToStart = function() {
            if (seekAfterStart != null && ns == stream) {
                var at = seekAfterStart;
                seekAfterStart = null;
                seekWhenFirstPartIn = null;
                ns.seek(at);
            }
        };
        seekWhenFirstPartIn = seekAfterStart != null && !start.seekAnswerHasMetadata() ? seekToStart : null;
        ns.bufferTime = config.bufferSeconds;
        ns.client = client(ns, seekToStart);
        listen(ns, seekToStart);
        screen.video.attachNetStream(ns);
        setVolume(config.volume / 100);
        setPlaying(true);
        end.restart();
    }

    function client(ns:NetStream, seekToStart:Void->Void):Dynamic {
        return {
            onMetaData: function(info:Dynamic) {
                if (ns != stream)
                    return;
                readMetadata(info);
                seekToStart();
            },
            onCuePoint: function(_) {},
            onXMPData: function(_) {},
            onPlayStatus: function(info:Dynamic) {
                if (ns == stream && Reflect.field(info, "code") == "NetStream.Play.Complete")
                    onEnd();
            }
        };
    }

    function readMetadata(info:Dynamic) {
        var d = Std.parseFloat(Std.string(Reflect.field(info, "duration")));
        if (d > 0 && (duration == 0 || start.byte == 0))
            duration = d;
        var vw = Std.parseFloat(Std.string(Reflect.field(info, "width")));
        var vh = Std.parseFloat(Std.string(Reflect.field(info, "height")));
        if (vw > 0 && vh > 0)
            screen.setVideoSize(vw, vh);
        if (start.keyframes == null)
            start.keyframes = Keyframes.fromMetadata(info);
    }

    function listen(ns:NetStream, seekToStart:Void->Void) {
        ns.addEventListener(NetStatusEvent.NET_STATUS, function(e:NetStatusEvent) {
            if (ns != stream)
                return;
            var code:String = Reflect.field(e.info, "code");
            switch (code) {
                // Later reports of a full buffer, and the end of the download (tick), come
                // back to the seek a stream without metadata owes.
                case "NetStream.Buffer.Full":
                    if (!start.seekAnswerHasMetadata() && firstPartIn(ns))
                        seekToStart();
                case "NetStream.Play.Stop":
                    if (duration <= 0 || currentTime() >= duration - 1)
                        onEnd();
                case "NetStream.Play.StreamNotFound", "NetStream.Play.Failed":
                    screen.showMessage(NOT_LOADED);
                    setPlaying(false);
                default:
            }
        });
        ns.addEventListener(AsyncErrorEvent.ASYNC_ERROR, function(_) {});
        ns.addEventListener(IOErrorEvent.IO_ERROR, function(_) {
            if (ns == stream)
                screen.showMessage(NOT_LOADED);
        });
    }

    function firstPartIn(ns:NetStream):Bool {
        return start.firstPartIn(ns.bytesLoaded, ns.bytesTotal);
    }

    function close() {
        if (stream != null) {
            var old = stream;
            stream = null;
            try {
                old.close();
            } catch (e:Dynamic) {}
        }
    }

    function setPlaying(value:Bool) {
        playing = value;
        onPlaying(value);
    }
}
