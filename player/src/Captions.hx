import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.events.SecurityErrorEvent;
import flash.net.URLLoader;
import flash.net.URLLoaderDataFormat;
import flash.net.URLRequest;
import haxe.io.Bytes;
import WebVtt.Cue;

// The captions of the video that plays: its tracks, the one chosen (the first, until the
// visitor's clicks on the CC button step through the others and then off), the cues of its
// file and the view that shows them. A file that cannot be loaded or read shows nothing; the
// video plays on.
class Captions {
    public var view(default, null) = new CaptionView();

    var base:String;
    var tracks:Array<CaptionTrack> = [];
    var chosen = -1;
    // Off stays off from one video of a playlist to the next.
    var wanted = true;
    var cues:Array<Cue> = [];
    var loaded = new Map<String, Array<Cue>>();
    var loading:Null<URLLoader> = null;

    public function new(base:String) {
        this.base = base;
    }

    public function available():Bool {
        return tracks.length > 0;
    }

    public function on():Bool {
        return chosen >= 0;
    }

    // The tracks of the video about to play. The same video again keeps the track chosen.
    public function useVideo(videoTracks:Array<CaptionTrack>) {
        if (videoTracks != null && videoTracks == tracks)
            return;
        tracks = videoTracks == null ? [] : videoTracks;
        choose(wanted && tracks.length > 0 ? 0 : -1);
    }

    // One click on the CC button: the next track, off after the last, the first after off.
    public function step() {
        if (tracks.length == 0)
            return;
        var next = chosen + 1 >= tracks.length ? -1 : chosen + 1;
        wanted = next >= 0;
        choose(next);
        view.announce(next >= 0 ? tracks[next].name() : "Captions off");
    }

    // Shows the cues at `time`; a negative time (nothing playing) shows none.
    public function update(time:Float) {
        view.show(chosen >= 0 && time >= 0 ? WebVtt.textAt(cues, time) : "");
    }

    public function shownText():String {
        return view.text();
    }

    function choose(index:Int) {
        chosen = index;
        cues = [];
        view.show("");
        if (loading != null) {
            try {
                loading.close();
            } catch (e:Dynamic) {}
            loading = null;
        }
        if (index >= 0)
            load(Addresses.resolve(tracks[index].address, base));
    }

    function load(address:String) {
        if (loaded.exists(address)) {
            cues = loaded.get(address);
            return;
        }
        var loader = new URLLoader();
        loader.dataFormat = URLLoaderDataFormat.BINARY;
        loading = loader;
        loader.addEventListener(Event.COMPLETE, function(_) {
            var read = WebVtt.parse(TextDecoding.decode(Bytes.ofData(loader.data)));
            loaded.set(address, read);
            if (loading == loader) {
                loading = null;
                cues = read;
            }
        });
        var failed = function(_) if (loading == loader) loading = null;
        loader.addEventListener(IOErrorEvent.IO_ERROR, failed);
        loader.addEventListener(SecurityErrorEvent.SECURITY_ERROR, failed);
        try {
            loader.load(new URLRequest(address));
        } catch (e:Dynamic) {
            loading = null;
        }
    }
}
