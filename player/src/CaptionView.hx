import flash.display.Shape;
import flash.display.Sprite;
import flash.text.TextField;
import flash.text.TextFieldAutoSize;
import flash.text.TextFormat;
import flash.text.TextFormatAlign;

// The caption on show, centred at the bottom of the picture: light letters on a dark translucent
// box, so they read on a white picture as well as on a black one; and for a moment after a click
// on the CC button, the name of the track chosen at the picture's top right. It takes no clicks,
// which go on to the picture below.
class CaptionView extends Sprite {
    static inline var BOX_ALPHA = 0.75;
    static inline var PADDING = 5;
    static inline var NOTICE_MS = 2000;

    var box = new Shape();
    var field = new TextField();
    var shown = "";
    var areaWidth = 0.0;
    var bottom = 0.0;
    var fontSize = 14;
    var notice = new TextField();
    var noticeBox = new Shape();
    var noticeCount = 0;

    public function new() {
        super();
        mouseEnabled = false;
        mouseChildren = false;
        addChild(box);
        field.selectable = false;
        field.multiline = true;
        field.wordWrap = true;
        addChild(field);
        notice.selectable = false;
        notice.visible = false;
        addChild(noticeBox);
        addChild(notice);
        field.visible = false;
    }

    public function text():String {
        return field.visible ? shown : "";
    }

    public function show(value:String) {
        if (value == shown && field.visible == (value != ""))
            return;
        shown = value;
        field.visible = value != "";
        redraw();
    }

    // Names the track just chosen (or says captions are off) for a moment.
    public function announce(name:String) {
        var count = ++noticeCount;
        notice.text = name;
        notice.visible = true;
        drawNotice();
        haxe.Timer.delay(function() {
            if (count == noticeCount) {
                notice.visible = false;
                drawNotice();
            }
        }, NOTICE_MS);
    }

    // The picture is `width` wide; the caption's box ends `bottomY` down from its top.
    public function layout(width:Float, bottomY:Float, pictureHeight:Float) {
        areaWidth = width;
        bottom = bottomY;
        fontSize = Math.round(Math.max(11, Math.min(28, pictureHeight * 0.055)));
        redraw();
        drawNotice();
    }

    function drawNotice() {
        noticeBox.graphics.clear();
        if (!notice.visible || areaWidth <= 0)
            return;
        // Applied to the text in place: the emulator keeps the old format when the same text
        // is set again after a new default.
        notice.setTextFormat(new TextFormat("_sans", fontSize, 0xFFFFFF));
        notice.width = notice.textWidth + 6;
        notice.height = notice.textHeight + 4;
        notice.x = Math.round(areaWidth - 2 * PADDING - notice.width);
        notice.y = 2 * PADDING;
        noticeBox.graphics.beginFill(0x000000, BOX_ALPHA);
        noticeBox.graphics.drawRect(notice.x - PADDING, notice.y - PADDING, notice.width + 2 * PADDING,
            notice.height + 2 * PADDING);
        noticeBox.graphics.endFill();
    }

    function redraw() {
        box.graphics.clear();
        if (!field.visible || areaWidth <= 0)
            return;
        var format = new TextFormat("_sans", fontSize, 0xFFFFFF);
        format.align = TextFormatAlign.CENTER;
        field.defaultTextFormat = format;
        field.autoSize = TextFieldAutoSize.NONE;
        field.width = Math.max(20, areaWidth * 0.9 - 2 * PADDING);
        field.text = shown;
        field.setTextFormat(format);
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
