import flash.display.Shape;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;
import flash.text.TextFormat;

// The control bar: play/pause, the seek bar with its loaded part, elapsed and total time,
// volume steps, the captions button when the video has captions, the embed button when the page
// offers one, and full screen. Its plate is the configured tint, flat, so the page shows exactly
// the colour the user chose.
class ControlBar extends Sprite {
    public var onPlayPause:Void->Void;
    public var onSeek:Float->Void;
    public var onVolume:Float->Void;
    public var onFullScreen:Void->Void;
    public var onEmbed:Void->Void;
    public var onCaptions:Void->Void;

    static inline var VOLUME_STEPS = 5;

    var tint:Int;
    var embed:Bool;
    var plate = new Shape();
    var playButton = new Sprite();
    var seekArea = new Sprite();
    var seekShape = new Shape();
    var time = new TextField();
    var volumeArea = new Sprite();
    var embedButton = new Sprite();
    var captionsButton = new Sprite();
    var captionsLetters = new TextField();
    var fullButton = new Sprite();

    var w = 0.0;
    var h = 0.0;
    var playing = false;
    var played = 0.0;
    var loaded = 0.0;
    var level = 0.8;
    var seekLeft = 0.0;
    var seekWidth = 0.0;
    var captionsAvailable = false;
    var captionsOn = false;

    public function new(tint:Int, embed:Bool) {
        super();
        this.tint = tint;
        this.embed = embed;
        addChild(plate);
        for (button in [playButton, seekArea, volumeArea, captionsButton, embedButton, fullButton]) {
            button.buttonMode = true;
            addChild(button);
        }
        seekArea.addChild(seekShape);
        time.selectable = false;
        time.mouseEnabled = false;
        addChild(time);
        embedButton.visible = embed;
        captionsButton.visible = false;
        captionsLetters.selectable = false;
        captionsLetters.mouseEnabled = false;
        captionsButton.addChild(captionsLetters);
        captionsButton.addEventListener(MouseEvent.CLICK, function(_) if (onCaptions != null) onCaptions());
        playButton.addEventListener(MouseEvent.CLICK, function(_) if (onPlayPause != null) onPlayPause());
        fullButton.addEventListener(MouseEvent.CLICK, function(_) if (onFullScreen != null) onFullScreen());
        embedButton.addEventListener(MouseEvent.CLICK, function(_) if (onEmbed != null) onEmbed());
        seekArea.addEventListener(MouseEvent.CLICK, function(e:MouseEvent) {
            if (onSeek != null && seekWidth > 0)
                onSeek(clamp((seekArea.mouseX - seekLeft) / seekWidth));
        });
        volumeArea.addEventListener(MouseEvent.CLICK, function(e:MouseEvent) {
            var width = volumeWidth();
            var picked = Math.ceil(clamp(volumeArea.mouseX / width) * VOLUME_STEPS) / VOLUME_STEPS;
            setVolume(picked);
            if (onVolume != null)
                onVolume(picked);
        });
    }

    static function clamp(v:Float):Float {
        return Math.isNaN(v) ? 0 : (v < 0 ? 0 : (v > 1 ? 1 : v));
    }

    function unit():Float {
        return h * 0.5;
    }

    function volumeWidth():Float {
        return unit() * 2.4;
    }

    public function layout(width:Float, height:Float) {
        w = width;
        h = height;
        var u = unit();
        plate.graphics.clear();
        plate.graphics.beginFill(tint);
        if (SkinStyle.floating)
            plate.graphics.drawRoundRect(0, 0, w, h, h * 0.66, h * 0.66);
        else
            plate.graphics.drawRect(0, 0, w, h);
        plate.graphics.endFill();

        var x = 0.0;
        playButton.x = x;
        x += h;
        var right = w - u * 0.4;
        fullButton.x = right - h;
        right -= h;
        if (embed) {
            embedButton.x = right - h;
            right -= h;
        }
        // Only a video with captions gets the button, so a bar without it keeps its old layout.
        if (captionsAvailable) {
            captionsButton.x = right - h;
            right -= h;
        }
        volumeArea.x = right - volumeWidth() - u * 0.4;
        right = volumeArea.x - u * 0.4;
        var format = new TextFormat("_sans", Math.round(Math.max(9, h * 0.36)), SkinStyle.glyph);
        time.defaultTextFormat = format;
        time.text = "00:00 / 00:00";
        time.width = time.textWidth + 6;
        time.height = time.textHeight + 4;
        time.x = right - time.width;
        time.y = (h - time.height) / 2;
        seekArea.x = 0;
        seekLeft = x + u * 0.3;
        seekWidth = Math.max(0, time.x - u * 0.6 - seekLeft);
        drawStatic();
        redraw();
    }

    public function setPlaying(value:Bool) {
        if (value == playing)
            return;
        playing = value;
        drawPlayButton();
    }

    public function setProgress(playedFraction:Float, loadedFraction:Float, elapsed:Float, total:Float) {
        played = clamp(playedFraction);
        loaded = clamp(loadedFraction);
        time.text = TimeText.pair(elapsed, total);
        redraw();
    }

    // Shows the captions button (`available`), lit while captions show (`on`).
    public function setCaptions(available:Bool, on:Bool) {
        var moved = available != captionsAvailable;
        captionsAvailable = available;
        captionsOn = on;
        captionsButton.visible = available;
        if (moved && w > 0)
            layout(w, h);
        else
            drawCaptionsButton();
    }

    public function setVolume(value:Float) {
        level = clamp(value);
        drawVolume();
    }

    function drawStatic() {
        drawPlayButton();
        drawVolume();
        drawCaptionsButton();
        var u = unit();
        var g = fullButton.graphics;
        g.clear();
        hitBox(g, h);
        g.lineStyle(Math.max(1, h / 20), SkinStyle.glyph);
        g.drawRect(h / 2 - u * 0.45, h / 2 - u * 0.35, u * 0.9, u * 0.7);
        g.lineStyle();
        g = embedButton.graphics;
        g.clear();
        hitBox(g, h);
        // "</>": two angle brackets and a slash.
        g.lineStyle(Math.max(1, h / 18), SkinStyle.glyph);
        var c = h / 2;
        var s = u * 0.4;
        g.moveTo(c - s * 0.5, c - s);
        g.lineTo(c - s * 1.3, c);
        g.lineTo(c - s * 0.5, c + s);
        g.moveTo(c + s * 0.5, c - s);
        g.lineTo(c + s * 1.3, c);
        g.lineTo(c + s * 0.5, c + s);
        g.moveTo(c + s * 0.25, c - s);
        g.lineTo(c - s * 0.25, c + s);
        g.lineStyle();
    }

    // Transparent fill, so a click anywhere on the button's square counts.
    static function hitBox(g:flash.display.Graphics, size:Float) {
        g.beginFill(0, 0);
        g.drawRect(0, 0, size, size);
        g.endFill();
    }

    function drawPlayButton() {
        var u = unit();
        var g = playButton.graphics;
        g.clear();
        hitBox(g, h);
        g.beginFill(SkinStyle.glyph);
        var left = h / 2 - u * 0.4;
        var top = h / 2 - u * 0.5;
        if (playing) {
            g.drawRect(left, top, u * 0.3, u);
            g.drawRect(left + u * 0.55, top, u * 0.3, u);
        } else {
            g.moveTo(left, top);
            g.lineTo(left + u * 0.9, h / 2);
            g.lineTo(left, top + u);
            g.lineTo(left, top);
        }
        g.endFill();
    }

    // "CC" in a rounded frame, dimmed while captions are off.
    function drawCaptionsButton() {
        var u = unit();
        var g = captionsButton.graphics;
        g.clear();
        hitBox(g, h);
        g.lineStyle(Math.max(1, h / 20), SkinStyle.glyph);
        g.drawRoundRect(h / 2 - u * 0.62, h / 2 - u * 0.42, u * 1.24, u * 0.84, u * 0.3, u * 0.3);
        g.lineStyle();
        var format = new TextFormat("_sans", Math.round(Math.max(8, h * 0.3)), SkinStyle.glyph, true);
        captionsLetters.defaultTextFormat = format;
        captionsLetters.text = "CC";
        captionsLetters.width = captionsLetters.textWidth + 4;
        captionsLetters.height = captionsLetters.textHeight + 4;
        captionsLetters.x = (h - captionsLetters.width) / 2;
        captionsLetters.y = (h - captionsLetters.height) / 2;
        captionsButton.alpha = captionsOn ? 1 : 0.4;
    }

    function drawVolume() {
        var u = unit();
        var g = volumeArea.graphics;
        g.clear();
        var width = volumeWidth();
        g.beginFill(0, 0);
        g.drawRect(0, 0, width, h);
        g.endFill();
        var step = width / VOLUME_STEPS;
        for (i in 0...VOLUME_STEPS) {
            var barHeight = u * (0.35 + 0.65 * (i + 1) / VOLUME_STEPS);
            var on = level >= (i + 1) / VOLUME_STEPS - 0.001;
            g.beginFill(SkinStyle.glyph, on ? 1 : 0.3);
            g.drawRect(i * step + step * 0.2, h / 2 + u / 2 - barHeight, step * 0.6, barHeight);
            g.endFill();
        }
    }

    function redraw() {
        var g = seekShape.graphics;
        g.clear();
        if (seekWidth <= 0)
            return;
        var middle = h / 2;
        var thick = Math.max(3, Math.round(h * 0.14));
        g.beginFill(0, 0);
        g.drawRect(seekLeft, 0, seekWidth, h);
        g.endFill();
        g.beginFill(SkinStyle.track, 0.45);
        g.drawRect(seekLeft, middle - thick / 2, seekWidth, thick);
        g.endFill();
        g.beginFill(SkinStyle.glyph, 0.45);
        g.drawRect(seekLeft, middle - thick / 2, seekWidth * loaded, thick);
        g.endFill();
        g.beginFill(SkinStyle.glyph);
        g.drawRect(seekLeft, middle - thick / 2, seekWidth * played, thick);
        g.drawCircle(seekLeft + seekWidth * played, middle, thick);
        g.endFill();
    }
}
