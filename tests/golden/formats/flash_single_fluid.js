var a0732  = new SWFObject("http://www.example.com/video/Skin-30-float.swf?", "zevosva0732", "480", "300", "6", "#000000" );
a0732.setAttribute("style", "display:block;width:100%;max-width:480px;height:auto;aspect-ratio:480 / 300" );
a0732.addVariable("loc", "http://www.example.com/video/" );
a0732.addParam("bgcolor", "#000000" );
a0732.addParam("quality", "high" );
a0732.addParam("menu", "false" );
a0732.addParam("allowFullScreen", "true" );
a0732.addParam("allowScriptAccess", "always" );
a0732.write("flashcontenta0732" );

