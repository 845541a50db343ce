//<![CDATA[
document.write('<script src="//ajax.googleapis.com/ajax/libs/jquery/1.9.1/jquery.min.js"></script>');
document.write('<script type="text/javascript" src="http://www.example.com/videos/zevoswf.js"></script>');
document.write('<table width="644" border="0" align="center">');
document.write('<tr>');
document.write('<td>');
document.write('<div id="elementfa0709" align="center">');
document.write('<div id="flashcontenta0709" align="center">');
document.write('Get the Flash Player to see this video.');
document.write('</div>');
document.write('<script type="text/javascript" src="http://www.example.com/videos/zevoflashsva0709.js"></script>');
document.write('</div>');
document.write('<script type="text/javascript" src="http://www.example.com/videos/zevoactona0709.js"></script>');
document.write('<div id="elementoa0709" align="center" style="display:none;">');
document.write(unescape("\x3c\x61\x20\x68\x72\x65\x66\x3d\x22\x68\x74\x74\x70\x3a\x2f\x2f\x73\x68\x6f\x70\x2e\x65\x78\x61\x6d\x70\x6c\x65\x2e\x63\x6f\x6d\x2f\x62\x75\x79\x2e\x68\x74\x6d\x6c\x22\x3e\x3c\x69\x6d\x67\x20\x73\x72\x63\x3d\x22\x62\x75\x79\x2e\x70\x6e\x67\x22\x20\x61\x6c\x74\x3d\x22\x42\x75\x79\x20\x6e\x6f\x77\x22\x3e\x3c\x2f\x61\x3e"));
document.write('<button type="button" id="backtovideo" style="cursor:pointer;color:#000000;font-size:12px;font-family:Verdana;background:none;border:0;padding:0">Dismiss</button>');
document.write('</div>');
document.write('</td>');
document.write('</tr>');
document.write('</table>');
//]]>
