import flash.display.Sprite;
import flash.display.Stage;
import flash.display.StageAlign;
import flash.display.StageDisplayState;
import flash.display.StageScaleMode;
import flash.events.AsyncErrorEvent;
import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.events.MouseEvent;
import flash.events.NetStatusEvent;
import flash.events.SecurityErrorEvent;
import flash.media.SoundTransform;
import flash.net.NetConnection;
import flash.net.NetStream;
import flash.net.URLLoader;
import flash.net.URLLoaderDataFormat;
import flash.net.URLRequest;
import flash.text.TextField;
import flash.text.TextFormat;
import haxe.io.Bytes;
import PlayerConfig.DeliveryMode;

// The player of every skin. The page passes `loc`, the folder of zevoconfigsv.xml; everything
// else (videos, pictures, behaviour, tint) comes from that file.
class Main extends Sprite {
    static inline var CONFIG_FILE = "zevoconfigsv.xml";
    static inline var RTMP_WAIT_MS = 8000;
    static inline var FLOAT_BAR_IDLE_MS = 2500;
    static inline var FIRST_PART_BYTES = 64 * 1024;

    var base = "";
    var config:PlayerConfig;
    var screen:Screen;
    var bar:ControlBar;
    var captions:Captions;
    var playlist:Null<Playlist> = null;
    var embedCode:Null<TextField> = null;
    var muting = new Muting();

    var connection:Null<NetConnection> = null;
    var stream:Null<NetStream> = null;
    var index = 0;
    var started = false;
    var playing = false;
    var duration = 0.0;
    var keyframes:Null<Keyframes> = null;
    // Pseudo-streaming: the stream in use began at this keyframe of the file.
    var startTime = 0.0;
    var startByte = 0.0;
    var lastTime = -1.0;
    var stalledFrames = 0;
    // The seek a new stream without metadata still owes once its first part is in.
    var seekWhenFirstPartIn:Null<Void->Void> = null;
    var lastPointerMove = 0.0;

    static function main() {
        var stage = flash.Lib.current.stage;
        stage.scaleMode = StageScaleMode.NO_SCALE;
        stage.align = StageAlign.TOP_LEFT;
        flash.Lib.current.addChild(new Main());
    }

    public function new() {
        super();
        var params:Dynamic = flash.Lib.current.loaderInfo.parameters;
        var loc:Null<String> = params == null ? null : Reflect.field(params, "loc");
        var page = Page.address();
        if (page == null || page == "")
            page = flash.Lib.current.loaderInfo.url;
        base = Addresses.base(loc, page);
        screen = new Screen();
        addChild(screen);
        fillStage();
        loadConfig(base + CONFIG_FILE);
    }

    function fillStage() {
        screen.layout(stage != null ? stage.stageWidth : flash.Lib.current.stage.stageWidth,
            stage != null ? stage.stageHeight : flash.Lib.current.stage.stageHeight);
    }

    function loadConfig(address:String) {
        var loader = new URLLoader();
        loader.dataFormat = URLLoaderDataFormat.BINARY;
        loader.addEventListener(Event.COMPLETE, function(_) {
            var bytes = Bytes.ofData(loader.data);
            start(PlayerConfig.parse(TextDecoding.decode(bytes)));
        });
        var failed = function(_) screen.showMessage("The player settings could not be loaded:\n" + address);
        loader.addEventListener(IOErrorEvent.IO_ERROR, failed);
        loader.addEventListener(SecurityErrorEvent.SECURITY_ERROR, failed);
        try {
            loader.load(new URLRequest(address));
        } catch (e:Dynamic) {
            failed(null);
        }
    }

    function start(parsed:PlayerConfig) {
        config = parsed;
        var stage = flash.Lib.current.stage;
        captions = new Captions(base);
        addChild(captions.view);
        Page.offerShownCaption(captions.shownText);
        Page.offerPlayerState(state);
        bar = new ControlBar(config.tint, config.embedButton);
        addChild(bar);
        if (config.isPlaylist() && config.playlistPlace != Hidden && config.videos.length > 0) {
            var thumbs = (Addresses.isWebAddress(config.baseAddress) ? config.baseAddress : base);
            if (!StringTools.endsWith(thumbs, "/"))
                thumbs += "/";
            playlist = new Playlist(config.videos, config.playlistLayout, config.playlistFontSize,
                config.playlistTextColour, thumbs + "thumbs/");
            playlist.onChoose = function(i) play(i);
            addChild(playlist);
        }
        layout();
        stage.addEventListener(Event.RESIZE, function(_) layout());
        stage.addEventListener(Event.FULLSCREEN, function(_) layout());
        if (!config.hasValidModeCode()) {
            bar.visible = false;
            screen.showMessage("This player's settings file was not written for this player.");
            return;
        }
        if (config.videos.length == 0) {
            screen.showMessage("No video is set up for this player.");
            return;
        }
        bar.onPlayPause = togglePlay;
        bar.onSeek = seekTo;
        bar.onVolume = setVolume;
        bar.onFullScreen = toggleFullScreen;
        bar.onEmbed = toggleEmbedCode;
        bar.onCaptions = stepCaptions;
        bar.setVolume(config.volume / 100);
        screen.onBigPlay = function() togglePlay();
        screen.onClick = clickPicture;
        new KeyboardInput(stage, keyAction);
        addEventListener(Event.ENTER_FRAME, function(_) tick());
        if (SkinStyle.floating && config.hideFloatingBar) {
            stage.addEventListener(MouseEvent.MOUSE_MOVE, function(_) {
                lastPointerMove = haxe.Timer.stamp() * 1000;
                bar.visible = true;
            });
            stage.addEventListener(Event.MOUSE_LEAVE, function(_) lastPointerMove = 0);
        }
        // The first video's captions button shows before play, so captions can be turned off
        // before they start.
        captions.useVideo(config.videos[0].captions);
        bar.setCaptions(captions.available(), captions.on());
        if (config.autoStart) {
            play(0);
        } else {
            showIdle(config.introPicture);
        }
    }

    function layout() {
        if (config == null)
            return;
        var stage = flash.Lib.current.stage;
        var w = stage.stageWidth;
        var h = stage.stageHeight;
        var full = stage.displayState != StageDisplayState.NORMAL;
        var listWidth = full || playlist == null ? 0 : config.playlistWidth(w);
        var listHeight = full || playlist == null || config.playlistPlace != Bottom ? 0 : config.playlistHeight;
        if (playlist != null && config.playlistPlace == Right && listWidth == 0 && !full)
            listWidth = Std.int(w / 3);
        var barHeight = SkinStyle.barHeight;
        var videoWidth = w - listWidth;
        var videoHeight = h - listHeight - (SkinStyle.floating ? 0 : barHeight);
        if (videoHeight < 0)
            videoHeight = 0;
        screen.layout(videoWidth, videoHeight);
        if (SkinStyle.floating) {
            var inset = Math.round(videoWidth * 0.06);
            var plate = Math.round(barHeight * 0.7);
            bar.x = inset;
            bar.y = videoHeight - Math.round((barHeight + plate) / 2);
            bar.layout(videoWidth - 2 * inset, plate);
        } else {
            bar.x = 0;
            bar.y = videoHeight;
            bar.layout(videoWidth, barHeight);
        }
        // Above a floating bar, so the bar never covers the words.
        var captionsBottom = SkinStyle.floating ? bar.y - 4 : videoHeight - 8;
        captions.view.layout(videoWidth, captionsBottom, videoHeight);
        if (playlist != null) {
            playlist.visible = !full;
            playlist.x = config.playlistPlace == Right ? videoWidth : 0;
            playlist.y = config.playlistPlace == Right ? 0 : h - listHeight;
            playlist.layout(config.playlistPlace == Right ? listWidth : w,
                config.playlistPlace == Right ? h : listHeight);
        }
        if (embedCode != null)
            placeEmbedCode(videoWidth, videoHeight);
    }

    function showIdle(picture:Null<String>) {
        screen.showVideo(picture == null && started);
        screen.showPicture(picture == null ? null : Addresses.resolve(picture, base));
        screen.showBigPlay(config.bigPlayButton);
        bar.setPlaying(false);
    }

    // Starts the video at `i` from its beginning.
    function play(i:Int) {
        index = i;
        if (playlist != null)
            playlist.highlight(i);
        started = true;
        duration = 0;
        keyframes = null;
        startTime = 0;
        startByte = 0;
        screen.showPicture(null);
        screen.showBigPlay(false);
        screen.showMessage(null);
        screen.showVideo(true);
        captions.useVideo(config.videos[i].captions);
        bar.setCaptions(captions.available(), captions.on());
        // Outside the frame being run, as the emulator wants page calls.
        var title = config.videos[i].title;
        haxe.Timer.delay(function() Page.nameElement(title), 1);
        if (config.delivery == Rtmp) {
            connectRtmp();
            return;
        }
        openStream(videoAddress(0));
    }

    function videoAddress(startAt:Float):String {
        var file = config.videos[index].flash;
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
        closeStream();
        ensureLocalConnection();
        var ns = new NetStream(connection);
        attach(ns, seekAfterStart);
        ns.play(address);
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
        var withoutMetadata = keyframes == null || !keyframes.seekAnswerHasMetadata;
        seekWhenFirstPartIn = seekAfterStart != null && withoutMetadata ? seekToStart : null;
        ns.bufferTime = config.bufferSeconds;
        ns.client = {
            onMetaData: function(info:Dynamic) {
                if (ns != stream)
                    return;
                var d = Std.parseFloat(Std.string(Reflect.field(info, "duration")));
                if (d > 0 && (duration == 0 || startByte == 0))
                    duration = d;
                var vw = Std.parseFloat(Std.string(Reflect.field(info, "width")));
                var vh = Std.parseFloat(Std.string(Reflect.field(info, "height")));
                if (vw > 0 && vh > 0)
                    screen.setVideoSize(vw, vh);
                if (keyframes == null)
                    keyframes = Keyframes.fromMetadata(info);
                seekToStart();
            },
            onCuePoint: function(_) {},
            onXMPData: function(_) {},
            onPlayStatus: function(info:Dynamic) {
                if (ns == stream && Reflect.field(info, "code") == "NetStream.Play.Complete")
                    finish();
            }
        };
        ns.addEventListener(NetStatusEvent.NET_STATUS, function(e:NetStatusEvent) {
            if (ns != stream)
                return;
            var code:String = Reflect.field(e.info, "code");
            switch (code) {
                case "NetStream.Buffer.Full":
                    if ((keyframes == null || !keyframes.seekAnswerHasMetadata) && firstPartIn(ns))
                        seekToStart();
                case "NetStream.Play.Stop":
                    if (duration <= 0 || currentTime() >= duration - 1)
                        finish();
                case "NetStream.Play.StreamNotFound", "NetStream.Play.Failed":
                    screen.showMessage("The video could not be loaded.");
                    setPlaying(false);
                default:
            }
        });
        ns.addEventListener(AsyncErrorEvent.ASYNC_ERROR, function(_) {});
        ns.addEventListener(IOErrorEvent.IO_ERROR, function(_) {
            if (ns == stream)
                screen.showMessage("The video could not be loaded.");
        });
        screen.video.attachNetStream(ns);
        applyVolume(bar == null ? config.volume / 100 : config.volume / 100);
        setPlaying(true);
        lastTime = -1;
        stalledFrames = 0;
    }

    // Whether a seek answer without metadata holds its first keyframe's part, up to the next
    // keyframe (or all of it). The emulator reports a full buffer as soon as the answer's FLV
    // header is in; a seek then finds no tag to go to and is lost, and the picture stays black
    // until the restarted clock reaches the keyframe's time. Later reports of a full buffer, and
    // the end of the download, come back here.
    function firstPartIn(ns:NetStream):Bool {
        if (ns.bytesTotal > 0 && ns.bytesLoaded >= ns.bytesTotal)
            return true;
        if (keyframes == null)
            return ns.bytesLoaded >= Keyframes.FLV_HEADER_BYTES + FIRST_PART_BYTES;
        return ns.bytesLoaded >= keyframes.firstPartBytes(startByte, FIRST_PART_BYTES);
    }

    function closeStream() {
        if (stream != null) {
            var old = stream;
            stream = null;
            try {
                old.close();
            } catch (e:Dynamic) {}
        }
    }

    // The emulator cannot open RTMP connections; a real Flash player can. Either way the
    // visitor learns what happened instead of looking at a black picture.
    function connectRtmp() {
        closeStream();
        var nc = new NetConnection();
        connection = nc;
        var settled = false;
        var fail = function() {
            if (settled || connection != nc)
                return;
            settled = true;
            setPlaying(false);
            screen.showMessage("This video streams from a media server (RTMP) that could not be reached here.");
        };
        nc.addEventListener(NetStatusEvent.NET_STATUS, function(e:NetStatusEvent) {
            var code:String = Reflect.field(e.info, "code");
            if (code == "NetConnection.Connect.Success" && !settled) {
                settled = true;
                var ns = new NetStream(nc);
                attach(ns);
                ns.play(config.videos[index].flash, config.live ? -1 : 0);
            } else if (code != "NetConnection.Connect.Success") {
                fail();
            }
        });
        nc.addEventListener(SecurityErrorEvent.SECURITY_ERROR, function(_) fail());
        nc.addEventListener(AsyncErrorEvent.ASYNC_ERROR, function(_) {});
        nc.addEventListener(IOErrorEvent.IO_ERROR, function(_) fail());
        haxe.Timer.delay(fail, RTMP_WAIT_MS);
        try {
            nc.connect(config.rtmpAddress);
        } catch (e:Dynamic) {
            fail();
        }
    }

    function setPlaying(value:Bool) {
        playing = value;
        bar.setPlaying(value);
    }

    function togglePlay() {
        if (!started) {
            play(index);
            return;
        }
        if (stream == null) {
            play(index);
            return;
        }
        if (playing) {
            stream.pause();
            setPlaying(false);
        } else {
            screen.showPicture(null);
            screen.showBigPlay(false);
            screen.showVideo(true);
            stream.resume();
            setPlaying(true);
        }
    }

    function clickPicture() {
        if (config.clickThrough != null) {
            try {
                flash.Lib.getURL(new URLRequest(config.clickThrough), "_blank");
            } catch (e:Dynamic) {}
            return;
        }
        togglePlay();
    }

    function currentTime():Float {
        if (stream == null)
            return 0;
        var t = stream.time;
        // After a seek-script request a player that restarts its clock reports time from the
        // keyframe; one that follows the tags reports the file's time.
        return startByte > 0 && t < startTime - 1 ? t + startTime : t;
    }

    function loadedFraction():Float {
        if (stream == null || stream.bytesTotal <= 0)
            return 0;
        var total = startByte + stream.bytesTotal;
        return (startByte + stream.bytesLoaded) / total;
    }

    function seekTo(fraction:Float) {
        if (stream == null || duration <= 0 || config.delivery == Rtmp && config.live)
            return;
        var wanted = fraction * duration;
        if (config.delivery == Pseudo && keyframes != null) {
            var loadedUpTo = loadedFraction() * duration;
            var from = startTime;
            if (wanted < from || wanted > loadedUpTo) {
                var k = keyframes.indexAt(wanted);
                if (k >= 0) {
                    startTime = keyframes.times[k];
                    startByte = keyframes.positions[k];
                    var address = videoAddress(startByte);
                    openStream(address, startByte > 0 ? startTime : null);
                    return;
                }
            }
        }
        if (config.delivery == Progressive) {
            // Only the part already loaded can be reached in a progressive download.
            var reachable = loadedFraction() * duration - 0.5;
            if (wanted > reachable)
                wanted = Math.max(0, reachable);
        }
        stream.seek(wanted);
        if (!playing)
            togglePlay();
    }

    function setVolume(level:Float) {
        config.volume = Math.round(level * 100);
        applyVolume(level);
    }

    function applyVolume(level:Float) {
        if (stream != null)
            stream.soundTransform = new SoundTransform(level);
        // Called outside the frame being run, as the emulator wants page calls.
        haxe.Timer.delay(function() Page.setEmulatorVolume(level), 1);
    }

    function keyAction(action:KeyAction) {
        switch (action) {
            case TogglePlay:
                togglePlay();
            case SeekBy(seconds):
                if (started && duration > 0)
                    seekTo(KeyboardControls.seekFraction(currentTime(), seconds, duration));
            case StepVolume(steps):
                changeVolume(KeyboardControls.steppedVolume(config.volume / 100, steps));
            case ToggleMute:
                changeVolume(muting.toggle(config.volume / 100));
            case ToggleFullScreen:
                toggleFullScreen();
            case StepCaptions:
                stepCaptions();
        }
    }

    // A volume set from the keyboard shows on the bar as a click there would.
    function changeVolume(level:Float) {
        bar.setVolume(level);
        setVolume(level);
    }

    function state():Dynamic {
        return {
            playing: playing,
            time: started ? currentTime() : 0,
            duration: duration,
            volume: config.volume / 100,
            muted: config.volume == 0,
            captions: captions.on()
        };
    }

    function stepCaptions() {
        captions.step();
        bar.setCaptions(captions.available(), captions.on());
        captions.update(started ? currentTime() : -1);
    }

    function toggleFullScreen() {
        var stage = flash.Lib.current.stage;
        try {
            stage.displayState = stage.displayState == StageDisplayState.NORMAL
                ? StageDisplayState.FULL_SCREEN : StageDisplayState.NORMAL;
        } catch (e:Dynamic) {}
    }

    function toggleEmbedCode() {
        if (embedCode != null) {
            removeChild(embedCode);
            embedCode = null;
            return;
        }
        var stage = flash.Lib.current.stage;
        var movie = flash.Lib.current.loaderInfo.url;
        var code = '<embed src="' + movie + '" width="' + stage.stageWidth + '" height="'
            + stage.stageHeight + '" flashvars="loc=' + StringTools.urlEncode(base)
            + '" allowfullscreen="true" allowscriptaccess="always" type="application/x-shockwave-flash"></embed>';
        var field = new TextField();
        field.defaultTextFormat = new TextFormat("_sans", 11, 0x000000);
        field.background = true;
        field.backgroundColor = 0xFFFFFF;
        field.border = true;
        field.wordWrap = true;
        field.multiline = true;
        field.text = code;
        embedCode = field;
        addChild(field);
        layout();
        try {
            flash.system.System.setClipboard(code);
        } catch (e:Dynamic) {}
    }

    function placeEmbedCode(width:Float, height:Float) {
        embedCode.x = 10;
        embedCode.width = Math.max(20, width - 20);
        embedCode.height = Math.min(height - 20, 70);
        embedCode.y = Math.max(0, (height - embedCode.height) / 2);
    }

    function finish() {
        if (!started || stream == null)
            return;
        var last = config.isSingleVideo() || index + 1 >= config.videos.length;
        if (config.autoProgress && !last) {
            play(index + 1);
            return;
        }
        closeStream();
        setPlaying(false);
        started = false;
        index = last && config.isPlaylist() ? 0 : index;
        showIdle(config.outroPicture);
        switch (config.endAction) {
            case OpenAddress(address):
                try {
                    flash.Lib.getURL(new URLRequest(Addresses.resolve(address, base)), "_self");
                } catch (e:Dynamic) {}
            case CallPageFunction(name):
                haxe.Timer.delay(function() Page.callFunction(name), 1);
            case Nothing:
        }
    }

    function tick() {
        captions.update(started && stream != null ? currentTime() : -1);
        if (stream == null) {
            bar.setProgress(0, 0, 0, duration);
            return;
        }
        if (seekWhenFirstPartIn != null && firstPartIn(stream))
            seekWhenFirstPartIn();
        var t = currentTime();
        bar.setProgress(duration > 0 ? t / duration : 0, loadedFraction(), t, duration);
        // Not every player reports the end of a download-played video; one whose clock stands
        // still at its end, with the whole file loaded, has ended.
        if (playing && duration > 0 && loadedFraction() >= 1 && t >= duration - 1) {
            stalledFrames = Math.abs(t - lastTime) < 0.001 ? stalledFrames + 1 : 0;
            if (stalledFrames > 20 || t >= duration - 0.05)
                finish();
        }
        lastTime = t;
        if (SkinStyle.floating && config.hideFloatingBar)
            bar.visible = !playing || haxe.Timer.stamp() * 1000 - lastPointerMove < FLOAT_BAR_IDLE_MS;
    }
}
