import flash.display.Loader;
import flash.display.Shape;
import flash.display.Sprite;
import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.events.MouseEvent;
import flash.media.Video;
import flash.net.URLRequest;
import flash.text.TextField;
import flash.text.TextFieldAutoSize;
import flash.text.TextFormat;
import flash.text.TextFormatAlign;

// The picture area: the video fitted to it, the intro or outro picture over it, the big play
// button and, when something cannot play, a message in words.
class Screen extends Sprite {
    public var onBigPlay:Void->Void;
    public var onClick:Void->Void;

    public var video(default, null):Video;
    var backdrop = new Shape();
    var clickArea = new Sprite();
    var picture:Null<Loader> = null;
    var bigPlay = new Sprite();
    var message = new TextField();
    var w = 0.0;
    var h = 0.0;
    var videoWidth = 0.0;
    var videoHeight = 0.0;

    public function new() {
        super();
        addChild(backdrop);
        video = new Video();
        video.smoothing = true;
        addChild(video);
        clickArea.buttonMode = true;
        clickArea.addEventListener(MouseEvent.CLICK, function(_) if (onClick != null) onClick());
        addChild(clickArea);
        bigPlay.buttonMode = true;
        bigPlay.visible = false;
        bigPlay.addEventListener(MouseEvent.CLICK, function(_) if (onBigPlay != null) onBigPlay());
        addChild(bigPlay);
        message.visible = false;
        message.selectable = false;
        message.multiline = true;
        message.wordWrap = true;
        message.mouseEnabled = false;
        addChild(message);
    }

    public function layout(width:Float, height:Float) {
        w = width;
        h = height;
        backdrop.graphics.clear();
        backdrop.graphics.beginFill(SkinStyle.screen);
        backdrop.graphics.drawRect(0, 0, w, h);
        backdrop.graphics.endFill();
        clickArea.graphics.clear();
        clickArea.graphics.beginFill(0, 0);
        clickArea.graphics.drawRect(0, 0, w, h);
        clickArea.graphics.endFill();
        fitVideo();
        fitPicture();
        drawBigPlay();
        layoutMessage();
    }

    // The video's own size comes from its metadata: the emulator reports no size on the video.
    public function setVideoSize(width:Float, height:Float) {
        videoWidth = width;
        videoHeight = height;
        fitVideo();
    }

    public function showVideo(visible:Bool) {
        video.visible = visible;
    }

    function fitVideo() {
        var vw = videoWidth > 0 ? videoWidth : w;
        var vh = videoHeight > 0 ? videoHeight : h;
        var scale = Math.min(w / vw, h / vh);
        if (!(scale > 0))
            scale = 1;
        video.width = Math.round(vw * scale);
        video.height = Math.round(vh * scale);
        video.x = Math.round((w - video.width) / 2);
        video.y = Math.round((h - video.height) / 2);
    }

    // Shows the picture at `address` fitted into the area; null takes the picture away.
    public function showPicture(address:Null<String>) {
        if (picture != null) {
            try {
                picture.unload();
            } catch (e:Dynamic) {}
            removeChild(picture);
            picture = null;
        }
        if (address == null)
            return;
        var loader = new Loader();
        loader.mouseEnabled = false;
        loader.mouseChildren = false;
        loader.contentLoaderInfo.addEventListener(Event.COMPLETE, function(_) fitPicture());
        loader.contentLoaderInfo.addEventListener(IOErrorEvent.IO_ERROR, function(_) {});
        addChildAt(loader, getChildIndex(clickArea));
        picture = loader;
        try {
            loader.load(new URLRequest(address));
        } catch (e:Dynamic) {}
    }

    function fitPicture() {
        if (picture == null || picture.content == null)
            return;
        var content = picture.content;
        var scale = Math.min(w / (content.width / content.scaleX), h / (content.height / content.scaleY));
        content.scaleX = content.scaleY = scale;
        content.x = Math.round((w - content.width) / 2);
        content.y = Math.round((h - content.height) / 2);
    }

    public function showBigPlay(visible:Bool) {
        bigPlay.visible = visible;
    }

    function drawBigPlay() {
        var radius = Math.max(12, Math.min(w, h) * 0.14);
        var g = bigPlay.graphics;
        g.clear();
        g.lineStyle(2, 0x555555);
        g.beginFill(0x222222, 0.85);
        g.drawCircle(w / 2, h / 2, radius);
        g.endFill();
        g.lineStyle();
        g.beginFill(0xE0E0E0);
        var left = w / 2 - radius * 0.35;
        var top = h / 2 - radius * 0.5;
        g.moveTo(left, top);
        g.lineTo(left + radius * 0.9, h / 2);
        g.lineTo(left, top + radius);
        g.lineTo(left, top);
        g.endFill();
    }

    public function showMessage(text:Null<String>) {
        message.visible = text != null;
        if (text != null) {
            var format = new TextFormat("_sans", 13, 0xFFFFFF);
            format.align = TextFormatAlign.CENTER;
            message.defaultTextFormat = format;
            message.text = text;
        }
        layoutMessage();
    }

    function layoutMessage() {
        message.width = Math.max(40, w - 40);
        message.x = 20;
        message.autoSize = TextFieldAutoSize.CENTER;
        message.y = Math.max(4, (h - message.height) / 2);
    }
}
