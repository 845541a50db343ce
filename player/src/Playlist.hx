import flash.display.Loader;
import flash.display.Sprite;
import flash.events.IOErrorEvent;
import flash.events.MouseEvent;
import flash.net.URLRequest;
import flash.text.TextField;
import flash.text.TextFormat;
import PlayerConfig.PlaylistLayout;
import PlayerConfig.VideoEntry;

// The visible playlist beside or below the picture: one row per video (45 pixels with titles
// only, 75 with descriptions or thumbnails, the heights the program sizes the player by). A
// click plays the row; the wheel scrolls a list longer than its box.
class Playlist extends Sprite {
    public var onChoose:Int->Void;

    var entries:Array<VideoEntry>;
    var layoutKind:PlaylistLayout;
    var fontSize:Int;
    var textColour:Int;
    var thumbFolder:String;
    var rows:Array<Sprite> = [];
    var content = new Sprite();
    var maskShape = new Sprite();
    var w = 0.0;
    var h = 0.0;
    var current = -1;

    public function new(entries:Array<VideoEntry>, layoutKind:PlaylistLayout, fontSize:Int,
            textColour:Int, thumbFolder:String) {
        super();
        this.entries = entries;
        this.layoutKind = layoutKind;
        this.fontSize = fontSize > 0 ? fontSize : 11;
        this.textColour = textColour;
        this.thumbFolder = thumbFolder;
        addChild(content);
        addChild(maskShape);
        content.mask = maskShape;
        addEventListener(MouseEvent.MOUSE_WHEEL, function(e:MouseEvent) scrollBy(-e.delta * 10));
    }

    public function rowHeight():Float {
        return layoutKind == TitleOnly ? 45 : 75;
    }

    public function layout(width:Float, height:Float) {
        w = width;
        h = height;
        graphics.clear();
        graphics.beginFill(SkinStyle.playlistBackground);
        graphics.drawRect(0, 0, w, h);
        graphics.endFill();
        maskShape.graphics.clear();
        maskShape.graphics.beginFill(0);
        maskShape.graphics.drawRect(0, 0, w, h);
        maskShape.graphics.endFill();
        while (content.numChildren > 0)
            content.removeChildAt(0);
        rows = [];
        for (i in 0...entries.length)
            rows.push(makeRow(i));
        highlight(current);
        scrollBy(0);
    }

    function makeRow(index:Int):Sprite {
        var entry = entries[index];
        var row = new Sprite();
        row.buttonMode = true;
        row.mouseChildren = false;
        row.y = index * rowHeight();
        content.addChild(row);
        var left = 6.0;
        if (layoutKind == Thumbnails) {
            var thumbHeight = rowHeight() - 10;
            var thumb = new Loader();
            thumb.x = 5;
            thumb.y = 5;
            thumb.contentLoaderInfo.addEventListener(flash.events.Event.COMPLETE, function(_) {
                var c = thumb.content;
                var scale = Math.min(thumbHeight * 4 / 3 / c.width, thumbHeight / c.height);
                c.scaleX = c.scaleY = scale;
            });
            thumb.contentLoaderInfo.addEventListener(IOErrorEvent.IO_ERROR, function(_) {});
            if (entry.pic != "")
                try {
                    thumb.load(new URLRequest(thumbFolder + entry.pic));
                } catch (e:Dynamic) {}
            row.addChild(thumb);
            left = 10 + thumbHeight * 4 / 3;
        }
        var title = text(entry.title, true);
        title.x = left;
        title.y = 4;
        title.width = Math.max(10, w - left - 6);
        row.addChild(title);
        if (layoutKind != TitleOnly) {
            var desc = text(entry.desc, false);
            desc.x = left;
            desc.y = title.y + title.height;
            desc.width = title.width;
            desc.height = Math.max(10, rowHeight() - desc.y - 4);
            desc.wordWrap = true;
            desc.multiline = true;
            row.addChild(desc);
        }
        row.addEventListener(MouseEvent.CLICK, function(_) if (onChoose != null) onChoose(index));
        return row;
    }

    function text(value:String, bold:Bool):TextField {
        var field = new TextField();
        field.selectable = false;
        field.defaultTextFormat = new TextFormat("_sans", fontSize, textColour, bold);
        field.text = value == null ? "" : value;
        field.height = field.textHeight + 5;
        return field;
    }

    public function highlight(index:Int) {
        current = index;
        for (i in 0...rows.length) {
            var g = rows[i].graphics;
            g.clear();
            g.beginFill(i == index ? SkinStyle.playlistHighlight : SkinStyle.playlistBackground);
            g.drawRect(0, 0, w, rowHeight());
            g.endFill();
            g.beginFill(SkinStyle.playlistHighlight);
            g.drawRect(0, rowHeight() - 1, w, 1);
            g.endFill();
        }
    }

    function scrollBy(delta:Float) {
        var lowest = Math.min(0, h - entries.length * rowHeight());
        content.y = Math.max(lowest, Math.min(0, content.y + delta));
    }
}
