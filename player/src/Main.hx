import flash.display.Sprite;
import flash.display.StageAlign;
import flash.display.StageDisplayState;
import flash.display.StageScaleMode;
import flash.events.Event;
import flash.net.URLRequest;

// The player of every skin. The page passes `loc`, the folder of zevoconfigsv.xml; everything
// else (videos, pictures, behaviour, tint) comes from that file.
class Main extends Sprite {
    static inline var CONFIG_FILE = "zevoconfigsv.xml";

    var base = "";
    var config:PlayerConfig;
    var screen:Screen;
    var bar:ControlBar;
    var captions:Captions;
    var playlist:Null<Playlist> = null;
    var embed:EmbedPanel;
    var arrangement:PlayerLayout;
    var video:VideoStream;
    var order:VideoOrder;
    var barHiding:Null<FloatingBarHiding> = null;
    var muting = new Muting();
    var started = false;

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
        var address = base + CONFIG_FILE;
        ConfigFile.load(address, start,
            function() screen.showMessage("The player settings could not be loaded:\n" + address));
    }

    function fillStage() {
        screen.layout(stage != null ? stage.stageWidth : flash.Lib.current.stage.stageWidth,
            stage != null ? stage.stageHeight : flash.Lib.current.stage.stageHeight);
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
        video = new VideoStream(config, base, screen);
        video.onPlaying = bar.setPlaying;
        video.onProgress = bar.setProgress;
        video.onEnd = finish;
        order = new VideoOrder(config);
        addPlaylist();
        embed = new EmbedPanel(this, base);
        arrangement = new PlayerLayout(config, screen, bar, captions.view, playlist, embed);
        embed.onOpen = arrangement.arrange;
        arrangement.arrange();
        stage.addEventListener(Event.RESIZE, function(_) arrangement.arrange());
        stage.addEventListener(Event.FULLSCREEN, function(_) arrangement.arrange());
        if (!config.hasValidModeCode()) {
            bar.visible = false;
            screen.showMessage("This player's settings file was not written for this player.");
            return;
        }
        if (config.videos.length == 0) {
            screen.showMessage("No video is set up for this player.");
            return;
        }
        connectControls();
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

    function addPlaylist() {
        if (!config.isPlaylist() || config.playlistPlace == Hidden || config.videos.length == 0)
            return;
        var thumbs = (Addresses.isWebAddress(config.baseAddress) ? config.baseAddress : base);
        if (!StringTools.endsWith(thumbs, "/"))
            thumbs += "/";
        playlist = new Playlist(config.videos, config.playlistLayout, config.playlistFontSize,
            config.playlistTextColour, thumbs + "thumbs/");
        playlist.onChoose = function(i) play(i);
        addChild(playlist);
    }

    function connectControls() {
        var stage = flash.Lib.current.stage;
        bar.onPlayPause = togglePlay;
        bar.onSeek = seekTo;
        bar.onVolume = setVolume;
        bar.onFullScreen = toggleFullScreen;
        bar.onEmbed = embed.toggle;
        bar.onCaptions = stepCaptions;
        bar.setVolume(config.volume / 100);
        screen.onBigPlay = function() togglePlay();
        screen.onClick = clickPicture;
        new KeyboardInput(stage, keyAction);
        addEventListener(Event.ENTER_FRAME, function(_) tick());
        if (SkinStyle.floating && config.hideFloatingBar)
            barHiding = new FloatingBarHiding(stage, bar);
    }

    function showIdle(picture:Null<String>) {
        screen.showVideo(picture == null && started);
        screen.showPicture(picture == null ? null : Addresses.resolve(picture, base));
        screen.showBigPlay(config.bigPlayButton);
        bar.setPlaying(false);
    }

    // Starts the video at `i` from its beginning.
    function play(i:Int) {
        order.choose(i);
        if (playlist != null)
            playlist.highlight(i);
        started = true;
        screen.showPicture(null);
        screen.showBigPlay(false);
        screen.showMessage(null);
        screen.showVideo(true);
        captions.useVideo(config.videos[i].captions);
        bar.setCaptions(captions.available(), captions.on());
        // Outside the frame being run, as the emulator wants page calls.
        var title = config.videos[i].title;
        haxe.Timer.delay(function() Page.nameElement(title), 1);
        video.play(config.videos[i].flash);
    }

    function togglePlay() {
        if (!started || !video.isOpen()) {
            play(order.index);
            return;
        }
        if (video.playing) {
            video.pause();
        } else {
            screen.showPicture(null);
            screen.showBigPlay(false);
            screen.showVideo(true);
            video.resume();
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

    function seekTo(fraction:Float) {
        if (video.seek(fraction) && !video.playing)
            togglePlay();
    }

    function setVolume(level:Float) {
        config.volume = Math.round(level * 100);
        video.setVolume(level);
    }

    function keyAction(action:KeyAction) {
        switch (action) {
            case TogglePlay:
                togglePlay();
            case SeekBy(seconds):
                if (started && video.duration > 0)
                    seekTo(KeyboardControls.seekFraction(video.currentTime(), seconds, video.duration));
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
            playing: video.playing,
            time: started ? video.currentTime() : 0,
            duration: video.duration,
            volume: config.volume / 100,
            muted: config.volume == 0,
            captions: captions.on()
        };
    }

    function stepCaptions() {
        captions.step();
        bar.setCaptions(captions.available(), captions.on());
        captions.update(started ? video.currentTime() : -1);
    }

    function toggleFullScreen() {
        var stage = flash.Lib.current.stage;
        try {
            stage.displayState = stage.displayState == StageDisplayState.NORMAL
                ? StageDisplayState.FULL_SCREEN : StageDisplayState.NORMAL;
        } catch (e:Dynamic) {}
    }

    // The current video has ended: the next one plays, or the player stops at its outro.
    function finish() {
        if (!started || !video.isOpen())
            return;
        if (order.advance()) {
            play(order.index);
            return;
        }
        video.stop();
        started = false;
        showIdle(config.outroPicture);
        EndActions.perform(config.endAction, base);
    }

    function tick() {
        var open = video.isOpen();
        captions.update(started && open ? video.currentTime() : -1);
        video.tick();
        if (open && barHiding != null)
            barHiding.update(video.playing);
    }
}
