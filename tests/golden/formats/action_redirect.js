if (document.getElementById("vDiva0732")){document.getElementById("vDiva0732").addEventListener("ended",hndVidEnd,false);}
function hndVidEnd(e){if(!e){e=window.event;}window.location="http://www.example.com/thanks.html";}
