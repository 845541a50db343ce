if (document.getElementById("vDiva0732")){document.getElementById("vDiva0732").addEventListener("ended",hndVidEnd,false);}
function hndVidEnd(e){if(!e){e=window.event;}var u="http://www.example.com/thanks.html";if(sUa0732(u)){window.location=u;}}
function sUa0732(u){return !/^(javascript|vbscript|data):/.test(String(u).replace(/[\t\n\r]/g,"").replace(/^[\x00-\x20]+/,"").toLowerCase());}
