//<![CDATA[
document.write('<script type="text/javascript" src="http://www.example.com/videos/zevoswf.js"></script>');
document.write('<table width="100%" border="0" align="center" cellspacing="0" cellpadding="0" style="max-width:644px">');
document.write('<tr>');
document.write('<td>');
document.write('<div id="flashcontenta0709" align="center">');
document.write('Get the Flash Player to see this video.');
document.write('</div>');
document.write('<script type="text/javascript" src="http://www.example.com/videos/zevoflashsva0709.js"></script>');
document.write('</td>');
document.write('</tr>');
document.write('</table>');
//]]>
