// Which of the configuration's videos is the current one, and what follows when it ends: the
// next one when a playlist moves on by itself, otherwise a stop. The play button then starts the
// current video again, or a playlist's first after its last.
class VideoOrder {
    public var index(default, null) = 0;

    var config:PlayerConfig;

    public function new(config:PlayerConfig) {
        this.config = config;
    }

    public function choose(i:Int) {
        index = i;
    }

    // After the current video has ended: true when `index` has moved on to the video that plays
    // next, false when playing stops.
    public function advance():Bool {
        var last = config.isSingleVideo() || index + 1 >= config.videos.length;
        if (config.autoProgress && !last) {
            index++;
            return true;
        }
        if (last && config.isPlaylist())
            index = 0;
        return false;
    }
}
