//<![CDATA[
document.write('<script type="text/javascript" src="http://www.example.com/videos/zevoswf.js"></script>');
document.write('<table width="644" border="0" align="center">');
document.write('<tr>');
document.write('<td>');
document.write('<div id="flashcontenta0709" align="center">');
document.write('Get the Flash Player to see this video.');
document.write('</div>');
document.write('<script type="text/javascript" src="http://www.example.com/videos/zevoflashsva0709.js"></script>');
document.write('</td>');
document.write('</tr>');
document.write('<tr>');
document.write('<td>');
document.write('<a href="http://www.facebook.com/share.php?u=http://www.example.com/holiday.html&t=Holiday%20Videos" target="_blank"><img src="http://www.example.com/videos/wg_fb.jpg" alt="Facebook It" border="0"></a>&nbsp;');
document.write('<a href="http://twitter.com/share?url=http://www.example.com/holiday.html&title=Holiday%20Videos" target="_blank"><img src="http://www.example.com/videos/wg_tw.jpg" alt="Twitt It" border="0"></a>');
document.write('</td>');
document.write('</tr>');
document.write('</table>');
//]]>
