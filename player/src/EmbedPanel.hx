import flash.display.DisplayObjectContainer;
import flash.text.TextField;
import flash.text.TextFormat;

// The embed code the bar's embed button shows over the picture, and copies to the clipboard: an
// <embed> of this movie at the stage's size, playing from the same settings folder.
class EmbedPanel {
    public var onOpen:Void->Void;

    var parent:DisplayObjectContainer;
    var base:String;
    var field:Null<TextField> = null;

    public function new(parent:DisplayObjectContainer, base:String) {
        this.parent = parent;
        this.base = base;
    }

    public static function code(movie:String, width:Int, height:Int, base:String):String {
        return '<embed src="' + movie + '" width="' + width + '" height="' + height
            + '" flashvars="loc=' + StringTools.urlEncode(base)
            + '" allowfullscreen="true" allowscriptaccess="always" type="application/x-shockwave-flash"></embed>';
    }

    public function toggle() {
        if (field != null) {
            parent.removeChild(field);
            field = null;
            return;
        }
        var stage = flash.Lib.current.stage;
        var text = code(flash.Lib.current.loaderInfo.url, stage.stageWidth, stage.stageHeight, base);
        field = textField(text);
        parent.addChild(field);
        onOpen();
        try {
            flash.system.System.setClipboard(text);
        } catch (e:Dynamic) {}
    }

    // Across the middle of a picture `width` by `height`, when open.
    public function place(width:Float, height:Float) {
        if (field == null)
            return;
        field.x = 10;
        field.width = Math.max(20, width - 20);
        field.height = Math.min(height - 20, 70);
        field.y = Math.max(0, (height - field.height) / 2);
    }

    static function textField(text:String):TextField {
        var field = new TextField();
        field.defaultTextFormat = new TextFormat("_sans", 11, 0x000000);
        field.background = true;
        field.backgroundColor = 0xFFFFFF;
        field.border = true;
        field.wordWrap = true;
        field.multiline = true;
        field.text = text;
        return field;
    }
}
