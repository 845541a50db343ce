import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.events.SecurityErrorEvent;
import flash.net.URLLoader;
import flash.net.URLLoaderDataFormat;
import flash.net.URLRequest;
import haxe.io.Bytes;

// Loads the player's settings file as bytes, since the text is decoded by what the file says of
// its encoding (TextDecoding), not by what the server claims.
class ConfigFile {
    public static function load(address:String, onLoaded:PlayerConfig->Void, onFailed:Void->Void) {
        var loader = new URLLoader();
        loader.dataFormat = URLLoaderDataFormat.BINARY;
        loader.addEventListener(Event.COMPLETE, function(_) {
            var bytes = Bytes.ofData(loader.data);
            onLoaded(PlayerConfig.parse(TextDecoding.decode(bytes)));
        });
        var failed = function(_) onFailed();
        loader.addEventListener(IOErrorEvent.IO_ERROR, failed);
        loader.addEventListener(SecurityErrorEvent.SECURITY_ERROR, failed);
        try {
            loader.load(new URLRequest(address));
        } catch (e:Dynamic) {
            onFailed();
        }
    }
}
