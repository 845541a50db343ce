// The look of the skin this movie was built as. Every installed skin is this one player,
// compiled with defines taken from its name: `vidlark_bar` the height in pixels the control bar
// adds below the video (characters 6 and 7 of the name), `vidlark_dark` a dark skin,
// `vidlark_float` a bar floating over the bottom of the picture.
class SkinStyle {
    public static final barHeight:Int = {
        var value = Std.parseInt(haxe.macro.Compiler.getDefine("vidlark_bar"));
        value == null || value < 16 ? 30 : value;
    };
    public static final dark:Bool = #if vidlark_dark true #else false #end;
    public static final floating:Bool = #if vidlark_float true #else false #end;

    // The glyphs stand out against the tints the program offers for each kind of skin: dark
    // tints for dark skins, light tints for light ones.
    public static final glyph:Int = dark ? 0xE4E4E4 : 0x2A2A2E;
    public static final track:Int = dark ? 0x000000 : 0xFFFFFF;
    public static final screen:Int = 0x000000;
    public static final playlistBackground:Int = dark ? 0xF0F0F0 : 0x1E1E22;
    public static final playlistHighlight:Int = dark ? 0xC8C8C8 : 0x3C3C44;
}
