import flash.display.Shape;
import flash.display.Sprite;
import flash.text.TextField;
import flash.text.TextFieldAutoSize;
import flash.text.TextFormat;
import flash.text.TextFormatAlign;

// The caption on show, centred at the bottom of the picture: light letters on a dark translucent
// box, so they read on a white picture as well as on a black one. It takes no clicks, which go
// on to the picture below.
class CaptionView extends Sprite {
    static inline var BOX_ALPHA = 0.75;
    static inline var PADDING = 5;

    var box = new Shape();
    var field = new TextField();
    var shown = "";
    var areaWidth = 0.0;
    var bottom = 0.0;
    var fontSize = 14;

    public function new() {
        super();
        mouseEnabled = false;
        mouseChildren = false;
        addChild(box);
        field.selectable = false;
        field.multiline = true;
        field.wordWrap = true;
        addChild(field);
        visible = false;
    }

    public function text():String {
        return visible ? shown : "";
    }

    public function show(value:String) {
        if (value == shown && visible == (value != ""))
            return;
        shown = value;
        visible = value != "";
        redraw();
    }

    // The picture is `width` wide; the caption's box ends `bottomY` down from its top.
    public function layout(width:Float, bottomY:Float, pictureHeight:Float) {
        areaWidth = width;
        bottom = bottomY;
        fontSize = Math.round(Math.max(11, Math.min(28, pictureHeight * 0.055)));
        redraw();
    }

    function redraw() {
        box.graphics.clear();
        if (!visible || areaWidth <= 0)
            return;
        var format = new TextFormat("_sans", fontSize, 0xFFFFFF);
        format.align = TextFormatAlign.CENTER;
        field.defaultTextFormat = format;
        field.autoSize = TextFieldAutoSize.NONE;
        field.width = Math.max(20, areaWidth * 0.9 - 2 * PADDING);
        field.text = shown;
        // The field shrinks to its longest line, so the box hugs the words.
        var textWidth = Math.min(field.width, field.textWidth + 6);
        field.width = textWidth;
        field.height = field.textHeight + 4;
        field.x = Math.round((areaWidth - textWidth) / 2);
        field.y = Math.round(bottom - PADDING - field.height);
        box.graphics.beginFill(0x000000, BOX_ALPHA);
        box.graphics.drawRect(field.x - PADDING, field.y - PADDING, textWidth + 2 * PADDING,
            field.height + 2 * PADDING);
        box.graphics.endFill();
    }
}
