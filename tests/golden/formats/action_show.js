function hfda0732(){$("#elementfa0732" ).hide("slow").delay(2000);$("#elementoa0732").show("slow").delay(1000);}$(document).ready(function(){$("#backtovideo").click(function(){$("#elementoa0732").hide();$("#elementfa0732").show();});});
if (document.getElementById("vDiva0732")){document.getElementById("vDiva0732").addEventListener("ended",hndVidEnd,false);}
function hndVidEnd(e){if(!e){e=window.event;}hfda0732();}
