// JS-Funktionen für IMG-Bilder-Zoom (class="bild zoom")
// zoom.js - Skript der CSS-Musterseite, erstellt mit Trellan

"use strict";

var y = 0, zoomShown = "";

function zeig(el) {
  var zoom = document.getElementById("zoom");
  var innen = document.getElementById("zoom_innen");
  var legende = el.nextElementSibling;
  zoomShown = el;
  if (zoom.style.display != "block") y = window.scrollY;
  window.scrollTo(0, 0);
  zoom.style.display = "block";
  zoom.style.zIndex = "9999";
  innen.style.backgroundImage = 'url("' + el.src.replace(/\_t.(?=[^_t.]*$)/, ".") + '")';  // großes Bild
  innen.title = legende ? legende.textContent : "";
  // Grau wegen SVG-Transparenz!
  // if (el.src.indexOf(".svg") > -1) innen.style.backgroundColor = "#888";
  // else innen.style.backgroundColor = "";
  document.body.style.overflow = "hidden";
}

function zeig_zu() {
  var zoom = document.getElementById("zoom");
  if (!zoom || zoom.style.display != "block") return;
  window.scrollTo(0, y);
  zoom.style.display = "none";
  document.body.style.overflow = "";
}

function zoomLimitEnde() {
  document.getElementById("zoom_innen").style.backgroundColor = "";
}

function zoomLimit() {
  document.getElementById("zoom_innen").style.backgroundColor = "black";
  setTimeout(zoomLimitEnde, 111);
}

function nextImg(e) {
  var bilder = document.getElementsByClassName("bild zoom");
  var i = Array.prototype.indexOf.call(bilder, e);
  if (i < 0) return e;
  if (i == bilder.length - 1) {
    zoomLimit();
    return undefined;
  }
  return bilder[i + 1];
}

function prevImg(e) {
  var bilder = document.getElementsByClassName("bild zoom");
  var i = Array.prototype.indexOf.call(bilder, e);
  if (i < 0) return e;
  if (i == 0) {
    zoomLimit();
    return undefined;
  }
  return bilder[i - 1];
}

function prevImgUp(e) {
  var bilder = document.getElementsByClassName("bild zoom");
  var i = Array.prototype.indexOf.call(bilder, e);
  return i < 10 ? bilder[0] : bilder[i - 10];
}

function nextImgDn(e) {
  var bilder = document.getElementsByClassName("bild zoom");
  var i = Array.prototype.indexOf.call(bilder, e);
  return i < 0 || i + 10 >= bilder.length ? bilder[bilder.length - 1] : bilder[i + 10];
}

function firstImg() {
  return document.getElementsByClassName("bild zoom")[0];
}

function lastImg() {
  var bilder = document.getElementsByClassName("bild zoom");
  return bilder[bilder.length - 1];
}

function zoomLinks() {
  var n = prevImg(zoomShown);
  if (!n) return;
  zeig_zu();
  n.focus();
  zeig(n);
}

function zoomRechts() {
  var n = nextImg(zoomShown);
  if (!n) return;
  zeig_zu();
  n.focus();
  zeig(n);
}

document.addEventListener("DOMContentLoaded", function () {
  var bilder = document.getElementsByClassName("bild zoom");

  function zoomFehler() {
    console.clear();  // kein _t.* Thumbnail da -> Bild umbenennen!
    this.src = this.src.replace(/\_t.(?=[^_t.]*$)/, ".");
  }

  function zoomKlick() {
    zeig(this);
  }

  function zoomTaste(ev) {
    var offen = document.getElementById("zoom").style.display == "block";
    var frei = !ev.ctrlKey && !ev.shiftKey;
    var n;
    if (ev.key == "ArrowRight") {
      ev.stopPropagation();
      n = nextImg(this);
    } else if (ev.key == "ArrowLeft") {
      ev.stopPropagation();
      n = prevImg(this);
    } else if ((ev.key == "Home" || ev.key == "Numpad7") && frei) {
      ev.stopPropagation();
      n = firstImg();
    } else if ((ev.key == "PageUp" || ev.key == "Numpad9") && frei) {
      ev.stopPropagation();
      ev.preventDefault();
      n = prevImgUp(this);
    } else if ((ev.key == "PageDown" || ev.key == "Numpad3") && frei) {
      ev.stopPropagation();
      ev.preventDefault();
      n = nextImgDn(this);
    } else if ((ev.key == "End" || ev.key == "Numpad1") && frei) {
      ev.stopPropagation();
      ev.preventDefault();
      n = lastImg();
    } else if (ev.key == "Enter") {
      zeig(this);
      return;
    } else if (ev.key == "Escape" || ev.key == "Tab") {
      zeig_zu();
      return;
    } else {
      return;
    }
    if (!n) return;
    zeig_zu();
    n.focus();
    if (offen) zeig(n);
  }

  for (var i = 0; i < bilder.length; i++) {
    var bild = bilder[i];
    bild.setAttribute("tabindex", "0");  // anwählbar mit TAB-Taste
    bild.setAttribute("loading", "lazy");  // erst laden sobald sichtbar
    bild.addEventListener("error", zoomFehler, { once: true });
    if (bild.src.indexOf(".svg") < 0)
      bild.src = bild.src.replace(/\.(?=[^.]*$)/, "_t.");  // _t.* Thumbnail-Endung versuchen, nicht bei .svg
    bild.addEventListener("click", zoomKlick);
    bild.addEventListener("keydown", zoomTaste);
    bild.title += "\n\nKlick \u21E8 Zoom\u2026";
  }
  if (bilder.length > 0) {  // Bilder vorhanden? -> Zoom-DIV erstellen
    createZoomDiv();
    bilder[0].focus();
    if (bilder.length == 1) {  // Nur 1 Zoom-Bild?
      document.getElementById("zLinks").style.display = "none";
      document.getElementById("zRechts").style.display = "none";
    }
  }
});

function createZoomDiv() {
  var zoom = document.createElement("div");
  var zu = document.createElement("a");
  var links = document.createElement("a");
  var rechts = document.createElement("a");
  var innen = document.createElement("div");
  zoom.id = "zoom";
  zu.className = "zu";
  zu.setAttribute("onclick", "zeig_zu()");
  zu.title = "Close / Schließen\n\n[Esc]";
  zu.textContent = "\u2573";
  links.id = "zLinks";
  links.className = "zLinks";
  links.setAttribute("onclick", "zoomLinks()");
  links.title = "\u2190";
  links.textContent = "\u3008";
  rechts.id = "zRechts";
  rechts.className = "zRechts";
  rechts.setAttribute("onclick", "zoomRechts()");
  rechts.title = "\u2192";
  rechts.textContent = "\u3009";
  innen.id = "zoom_innen";
  innen.setAttribute("onclick", "zeig_zu()");
  zoom.appendChild(zu);
  zoom.appendChild(links);
  zoom.appendChild(rechts);
  zoom.appendChild(innen);
  document.body.insertBefore(zoom, document.body.firstChild);
}

// Funktionen für MAP/AREA
function zeigLegende(el) {
  el.focus();
  document.getElementById("legende").textContent = el.title;
}

function zeigKarte(el) {
  el.parentElement.parentElement.parentElement.focus();
}

// HTML5-Ersatz für js-alert()
function Alert(s) {
  var dlg = document.createElement("dialog");
  var stil = document.createElement("style");
  var text = document.createElement("div");
  var knopf = document.createElement("button");
  dlg.id = "alertDlg";
  stil.textContent =
    "#alertDlg { max-width: 80vw; width: 300px; padding: 1em; user-select: none; border-radius: 8px; font-size: 1.1rem; }\n" +
    "#alertDlg::backdrop { background-color: rgba(0,0,0,.5); }\n" +
    "#alertDlg button { margin: 1rem 1rem 0 0; background: #1a73e8; color: white; border-radius: .2rem; min-width: 3rem; padding: .3rem; }\n" +
    "#alertDlg button:hover { background: #1a73e8; color: #0f0; }";
  dlg.appendChild(stil);
  dlg.setAttribute("onclick", "event.target==this && this.remove();");
  text.innerHTML = String(s).replace(/[\n\r]/g, "<br>");
  dlg.appendChild(text);
  knopf.textContent = "OK";
  knopf.setAttribute("onclick", "this.parentElement.remove();");
  dlg.appendChild(knopf);
  document.body.appendChild(dlg);
  dlg.showModal();
}

// Zahl im CH-Format ausgeben (12345.6789 → 12'345.6789)
function zahlCH(x) {
  return x.toLocaleString("de-CH", { maximumFractionDigits: 10 });
}
