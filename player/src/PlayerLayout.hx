import flash.display.StageDisplayState;

// Where the player's parts go on the stage: the playlist at the right or the bottom (none in full
// screen), the video in the rest with the bar under it or floating over its bottom, the captions
// above the bar, and an open embed panel over the picture.
class PlayerLayout {
    var config:PlayerConfig;
    var screen:Screen;
    var bar:ControlBar;
    var captions:CaptionView;
    var playlist:Null<Playlist>;
    var embed:EmbedPanel;

    public function new(config:PlayerConfig, screen:Screen, bar:ControlBar, captions:CaptionView,
            playlist:Null<Playlist>, embed:EmbedPanel) {
        this.config = config;
        this.screen = screen;
        this.bar = bar;
        this.captions = captions;
        this.playlist = playlist;
        this.embed = embed;
    }

    public function arrange() {
        var stage = flash.Lib.current.stage;
        var w = stage.stageWidth;
        var h = stage.stageHeight;
        var full = stage.displayState != StageDisplayState.NORMAL;
        var listWidth = full || playlist == null ? 0 : config.playlistWidth(w);
        var listHeight = full || playlist == null || config.playlistPlace != Bottom ? 0 : config.playlistHeight;
        if (playlist != null && config.playlistPlace == Right && listWidth == 0 && !full)
            listWidth = Std.int(w / 3);
        var videoWidth = w - listWidth;
        var videoHeight = h - listHeight - (SkinStyle.floating ? 0 : SkinStyle.barHeight);
        if (videoHeight < 0)
            videoHeight = 0;
        screen.layout(videoWidth, videoHeight);
        placeBar(videoWidth, videoHeight);
        // Above a floating bar, so the bar never covers the words.
        var captionsBottom = SkinStyle.floating ? bar.y - 4 : videoHeight - 8;
        captions.layout(videoWidth, captionsBottom, videoHeight);
        if (playlist != null)
            placePlaylist(w, h, videoWidth, listWidth, listHeight, full);
        embed.place(videoWidth, videoHeight);
    }

    function placeBar(videoWidth:Int, videoHeight:Int) {
        var barHeight = SkinStyle.barHeight;
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
    }

    function placePlaylist(w:Int, h:Int, videoWidth:Int, listWidth:Int, listHeight:Int, full:Bool) {
        playlist.visible = !full;
        playlist.x = config.playlistPlace == Right ? videoWidth : 0;
        playlist.y = config.playlistPlace == Right ? 0 : h - listHeight;
        playlist.layout(config.playlistPlace == Right ? listWidth : w,
            config.playlistPlace == Right ? h : listHeight);
    }
}
