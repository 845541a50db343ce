//<![CDATA[
document.write('<script src="//ajax.googleapis.com/ajax/libs/jquery/1.9.1/jquery.min.js"></script>');
if(!((navigator.userAgent.toLowerCase().indexOf('android') != -1)&&(navigator.userAgent.toLowerCase().indexOf('mobile') != -1)) || (navigator.userAgent.toLowerCase().indexOf('iphone')!= -1) || (navigator.userAgent.toLowerCase().indexOf('ipod') != -1) ) {
document.write('<script type="text/javascript" src="http://www.example.com/videos/zevoswf.js"></script>');
}
document.write('<table width="100%" border="0" align="center" cellspacing="0" cellpadding="0" style="max-width:948px">');
document.write('<tr>');
document.write('<td>');
if(!((navigator.userAgent.toLowerCase().indexOf('android') != -1)&&(navigator.userAgent.toLowerCase().indexOf('mobile') != -1)) || (navigator.userAgent.toLowerCase().indexOf('iphone')!= -1) || (navigator.userAgent.toLowerCase().indexOf('ipod') != -1) ) {
document.write('<div id="flashcontenta0709" align="center">');
}
document.write('<!--[if gte IE 9]><!-->');
document.write('<script type="text/javascript" src="http://www.example.com/videos/zevohtml5sva0709.js"></script>');
document.write('<div class="videocontainer" id="vDiva0709">');
document.write('</div>');
document.write('<div class="listcontainer" id="pDiva0709">');
document.write('<div class="zevolistscroll" id="pDivSca0709">');
document.write('</div>');
document.write('</div>');
document.write('<!--<![endif]-->');
if(!((navigator.userAgent.toLowerCase().indexOf('android') != -1)&&(navigator.userAgent.toLowerCase().indexOf('mobile') != -1)) || (navigator.userAgent.toLowerCase().indexOf('iphone')!= -1) || (navigator.userAgent.toLowerCase().indexOf('ipod') != -1) ) {
document.write('</div>');
document.write('<script type="text/javascript" src="http://www.example.com/videos/zevoflashsva0709.js"></script>');
}
document.write('</td>');
document.write('</tr>');
document.write('</table>');
//]]>
