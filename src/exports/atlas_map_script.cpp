#include "exports/atlas_map_script.h"

namespace orrimar::exports {

namespace {

// The map's script. It reads the data element, unpacks the systems into
// flat arrays and draws them with an orthographic camera: yaw turns the
// sector about its z axis, pitch tips it from the view from above (0) to
// the view from the front (90 degrees). Dots are drawn far to near in
// eight bands of depth, nearer ones brighter, one path per band and
// colour, so 20,000 systems draw in a few milliseconds. Names are placed
// greedily once the map rests: brightest and nearest first, beside the
// dot (right, left, above, below), never over another name or another
// system's dot, so a crowded map shows names only as it is zoomed.
//
// For links, tests and pictures the page's address may carry, joined by '&',
//   #map               the map scrolled into view
//   #view=YAW,PITCH    the view, in degrees
//   #slab=FROM,TO      the slab of z shown
//   #click=ID          click system ID once drawn (opens its page)
// and the map holder reports data-systems, data-dots (drawn in the slab),
// data-labels, data-linked (systems with pages), data-drawn-ms (time from
// the start of the page to the first drawing), data-loaded-ms (to the end
// of its loading) and data-frame-ms (the last drawing's own time).
constexpr std::string_view kScript = R"js((function () {
  'use strict';
  var holder = document.getElementById('atlas-map');
  var canvas = document.getElementById('atlas-map-canvas');
  var source = document.getElementById('atlas-map-data');
  if (!holder || !canvas || !source || !canvas.getContext) return;
  var ctx = canvas.getContext('2d');
  if (!ctx) return;
  var data = JSON.parse(source.textContent);
  var stars = data.stars, owners = data.owners, list = data.systems;
  var n = list.length;
  if (n === 0) return;
  document.documentElement.classList.add('map-live');
  var UNKNOWN = stars.length - 1;

  var ids = new Float64Array(n), X = new Float32Array(n), Y = new Float32Array(n), Z = new Float32Array(n);
  var kind = new Uint8Array(n), owner = new Int32Array(n), light = new Float32Array(n);
  var names = new Array(n), links = new Array(n);
  var lo = [Infinity, Infinity, Infinity], hi = [-Infinity, -Infinity, -Infinity];
  var linked = 0, i;
  for (i = 0; i < n; i++) {
    var e = list[i];
    ids[i] = e[0]; X[i] = e[1]; Y[i] = e[2]; Z[i] = e[3];
    kind[i] = e[4]; owner[i] = e[5]; light[i] = e[6];
    names[i] = e[7] || ''; links[i] = e[8] || '';
    if (links[i]) linked++;
    for (var a = 0; a < 3; a++) {
      lo[a] = Math.min(lo[a], e[a + 1]);
      hi[a] = Math.max(hi[a], e[a + 1]);
    }
  }
  list = null;
  data = null;
  var mid = [(lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2, (lo[2] + hi[2]) / 2];

  // The view.
  var yaw = 0, pitch = 0, zoom = 1, panX = 0, panY = 0, scale = 1;
  var zFrom = lo[2], zTo = hi[2];
  var W = 0, H = 0, dpr = 1;
  var PX = new Float32Array(n), PY = new Float32Array(n), D = new Float32Array(n);
  var shownFlag = new Uint8Array(n), widths = new Float32Array(n), rank = new Float32Array(n);
  var drawnOnce = false;
  var FONT = '11px sans-serif', LABEL_HEIGHT = 13, LEVELS = 8, CELL = 16;

  function clamp(v, a, b) { return Math.max(a, Math.min(b, v)); }

  // The camera of the present view: yaw about z, then pitch about the
  // screen's x axis, then the scale and the centre on screen.
  var cam = null;
  function aim() {
    cam = [Math.cos(yaw), Math.sin(yaw), Math.cos(pitch), Math.sin(pitch), scale * zoom, W / 2 + panX, H / 2 + panY];
  }
  // Screen position and depth (toward the viewer) of a point of space.
  function toScreen(x, y, z, out) {
    var dx = x - mid[0], dy = y - mid[1], dz = z - mid[2];
    var rx = dx * cam[0] - dy * cam[1], ry = dx * cam[1] + dy * cam[0];
    out[0] = cam[5] + rx * cam[4];
    out[1] = cam[6] - (ry * cam[2] + dz * cam[3]) * cam[4];
    out[2] = dz * cam[2] - ry * cam[3];
    return out;
  }
  function project() {
    aim();
    var p = [0, 0, 0];
    for (var k = 0; k < n; k++) {
      toScreen(X[k], Y[k], Z[k], p);
      PX[k] = p[0];
      PY[k] = p[1];
      D[k] = p[2];
    }
  }

  // Scale so that the sector's box fills the canvas in the present view.
  function fit() {
    zoom = 1; panX = 0; panY = 0; scale = 1;
    aim();
    var p = [0, 0, 0], maxU = 0.5, maxV = 0.5;
    for (var c = 0; c < 8; c++) {
      toScreen(c & 1 ? hi[0] + 1 : lo[0] - 1, c & 2 ? hi[1] + 1 : lo[1] - 1, c & 4 ? hi[2] : lo[2], p);
      maxU = Math.max(maxU, Math.abs(p[0] - W / 2));
      maxV = Math.max(maxV, Math.abs(p[1] - H / 2));
    }
    scale = 0.94 * Math.min(W / 2 / maxU, H / 2 / maxV);
  }

  function resize() {
    var w = Math.max(200, canvas.parentNode.clientWidth);
    // The whole map and its controls fit in the window.
    var h = Math.round(clamp(Math.min(w * 0.68, (window.innerHeight || 900) - 70), 320, 820));
    var old = Math.min(W, H);
    dpr = window.devicePixelRatio || 1;
    W = w; H = h;
    canvas.style.height = h + 'px';
    canvas.width = Math.round(w * dpr);
    canvas.height = Math.round(h * dpr);
    if (old) scale *= Math.min(W, H) / old;
  }

  // The edges of the slab's box, with the axes named at their far ends.
  function drawBox() {
    var corners = [];
    for (var c = 0; c < 8; c++) {
      corners.push(toScreen(c & 1 ? hi[0] : lo[0], c & 2 ? hi[1] : lo[1], c & 4 ? zTo : zFrom, [0, 0, 0]));
    }
    ctx.strokeStyle = '#2a3656';
    ctx.lineWidth = 1;
    ctx.beginPath();
    [[0, 1], [1, 3], [3, 2], [2, 0], [4, 5], [5, 7], [7, 6], [6, 4], [0, 4], [1, 5], [2, 6], [3, 7]].forEach(function (edge) {
      ctx.moveTo(corners[edge[0]][0], corners[edge[0]][1]);
      ctx.lineTo(corners[edge[1]][0], corners[edge[1]][1]);
    });
    ctx.stroke();
    ctx.fillStyle = '#9aa7c4';
    ctx.font = FONT;
    ctx.textBaseline = 'middle';
    ctx.fillText('x', corners[1][0] + 6, corners[1][1]);
    ctx.fillText('y', corners[2][0] + 6, corners[2][1]);
    if (zTo !== zFrom) ctx.fillText('z', corners[4][0] + 6, corners[4][1]);
  }

  function dotRadius(shown) {
    var r = shown > 2000 ? 1.6 : (shown > 300 ? 2.5 : 3.5);
    return clamp(r * Math.sqrt(zoom), 1, 7);
  }

  // Screen cells holding the drawn dots, for the hover and the click.
  var cols = 0, rows = 0, head = null, next = new Int32Array(n);
  function buildGrid() {
    cols = Math.ceil(W / CELL) + 1;
    rows = Math.ceil(H / CELL) + 1;
    head = new Int32Array(cols * rows).fill(-1);
    for (var k = 0; k < n; k++) {
      if (!shownFlag[k]) continue;
      var cx = Math.floor(PX[k] / CELL), cy = Math.floor(PY[k] / CELL);
      if (cx < 0 || cy < 0 || cx >= cols || cy >= rows) continue;
      next[k] = head[cy * cols + cx];
      head[cy * cols + cx] = k;
    }
  }
  // The drawn system nearest (x, y) within 8 pixels, the nearer to the
  // viewer on a tie; -1 for none.
  function pick(x, y) {
    if (!head) return -1;
    var best = -1, bestD = 64.0001;
    var cx = Math.floor(x / CELL), cy = Math.floor(y / CELL);
    for (var gy = cy - 1; gy <= cy + 1; gy++) {
      for (var gx = cx - 1; gx <= cx + 1; gx++) {
        if (gx < 0 || gy < 0 || gx >= cols || gy >= rows) continue;
        for (var k = head[gy * cols + gx]; k !== -1; k = next[k]) {
          var d = (PX[k] - x) * (PX[k] - x) + (PY[k] - y) * (PY[k] - y);
          if (d < bestD || (d === bestD && best !== -1 && D[k] > D[best])) { best = k; bestD = d; }
        }
      }
    }
    return best;
  }

  // Names placed greedily; returns how many stand.
  function drawLabels(r, dMin, span) {
    var cand = [], k, t;
    for (k = 0; k < n; k++) {
      if (shownFlag[k] && names[k] && PX[k] >= 0 && PY[k] >= 0 && PX[k] <= W && PY[k] <= H) cand.push(k);
    }
    for (t = 0; t < cand.length; t++) {
      k = cand[t];
      rank[k] = light[k] / 10 + (span > 0 ? 3 * (D[k] - dMin) / span : 0) + (owner[k] >= 0 ? 2 : 0);
    }
    cand.sort(function (p, q) { return rank[q] - rank[p] || ids[p] - ids[q]; });
    var limit = Math.max(8, Math.floor(W * H / 9000)), tries = Math.min(cand.length, 40 * limit);
    var BOX = 48, bc = Math.ceil(W / BOX) + 1, br = Math.ceil(H / BOX) + 1, boxes = new Array(bc * br);
    var each = function (b, visit) {
      for (var gy = Math.max(0, Math.floor(b[1] / BOX)); gy <= Math.min(br - 1, Math.floor(b[3] / BOX)); gy++) {
        for (var gx = Math.max(0, Math.floor(b[0] / BOX)); gx <= Math.min(bc - 1, Math.floor(b[2] / BOX)); gx++) {
          if (visit(gy * bc + gx)) return true;
        }
      }
      return false;
    };
    var free = function (b) {
      return !each(b, function (c) {
        var held = boxes[c] || [];
        for (var m = 0; m < held.length; m++) {
          var o = held[m];
          if (b[0] < o[2] && o[0] < b[2] && b[1] < o[3] && o[1] < b[3]) return true;
        }
        return false;
      });
    };
    var take = function (b) { each(b, function (c) { (boxes[c] = boxes[c] || []).push(b); return false; }); };
    // Whether a box covers the dot of any system but `self`.
    var coversDot = function (b, self) {
      for (var gy = Math.floor((b[1] - r - 3) / CELL); gy <= Math.floor((b[3] + r + 3) / CELL); gy++) {
        for (var gx = Math.floor((b[0] - r - 3) / CELL); gx <= Math.floor((b[2] + r + 3) / CELL); gx++) {
          if (gx < 0 || gy < 0 || gx >= cols || gy >= rows) continue;
          for (var d = head[gy * cols + gx]; d !== -1; d = next[d]) {
            var e = owner[d] >= 0 ? r + 3 : r;  // an owned system's box
            if (d !== self && PX[d] + e > b[0] && PX[d] - e < b[2] && PY[d] + e > b[1] && PY[d] - e < b[3]) return true;
          }
        }
      }
      return false;
    };
    ctx.font = FONT;
    ctx.textBaseline = 'middle';
    ctx.lineWidth = 3;
    ctx.lineJoin = 'round';
    ctx.strokeStyle = 'rgba(11,16,32,0.85)';
    ctx.fillStyle = '#dde3f0';
    var placed = 0;
    for (t = 0; t < tries && placed < limit; t++) {
      k = cand[t];
      var w = widths[k] || (widths[k] = ctx.measureText(names[k]).width);
      // Right of the dot, left of it, above it, below it.
      for (var side = 0; side < 4; side++) {
        var x0 = side === 0 ? PX[k] + r + 3 : (side === 1 ? PX[k] - r - 3 - w : PX[k] - w / 2);
        var y0 = side === 2 ? PY[k] - r - 1 - LABEL_HEIGHT : (side === 3 ? PY[k] + r + 1 : PY[k] - LABEL_HEIGHT / 2);
        var b = [x0, y0, x0 + w, y0 + LABEL_HEIGHT];
        if (b[0] < 0 || b[1] < 0 || b[2] > W || b[3] > H || !free(b) || coversDot(b, k)) continue;
        take(b);
        take([PX[k] - r, PY[k] - r, PX[k] + r, PY[k] + r]);
        ctx.strokeText(names[k], b[0], b[1] + LABEL_HEIGHT / 2);
        ctx.fillText(names[k], b[0], b[1] + LABEL_HEIGHT / 2);
        placed++;
        break;
      }
    }
    return placed;
  }

  function draw(withLabels) {
    var began = performance.now();
    ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
    ctx.globalAlpha = 1;
    ctx.fillStyle = '#0b1020';
    ctx.fillRect(0, 0, W, H);
    project();
    drawBox();
    var shown = 0, dMin = Infinity, dMax = -Infinity, k;
    for (k = 0; k < n; k++) {
      shownFlag[k] = Z[k] >= zFrom && Z[k] <= zTo ? 1 : 0;
      if (!shownFlag[k]) continue;
      shown++;
      dMin = Math.min(dMin, D[k]);
      dMax = Math.max(dMax, D[k]);
    }
    var span = dMax - dMin > 1e-6 ? dMax - dMin : 0;
    // Far bands first; within a band one path per colour.
    var K = stars.length, order = new Int32Array(shown), start = new Int32Array(LEVELS * K + 1);
    var band = new Int32Array(n);
    for (k = 0; k < n; k++) {
      if (!shownFlag[k]) continue;
      var level = span > 0 ? Math.min(LEVELS - 1, Math.floor((D[k] - dMin) / span * LEVELS)) : LEVELS - 1;
      band[k] = level * K + kind[k];
      start[band[k] + 1]++;
    }
    for (k = 1; k <= LEVELS * K; k++) start[k] += start[k - 1];
    var fill = start.slice(0, LEVELS * K);
    for (k = 0; k < n; k++) if (shownFlag[k]) order[fill[band[k]]++] = k;
    var r = dotRadius(shown), drawn = 0;
    for (var b = 0; b < LEVELS * K; b++) {
      if (start[b] === start[b + 1]) continue;
      var lvl = Math.floor(b / K);
      ctx.globalAlpha = span > 0 ? 0.35 + 0.65 * (lvl + 1) / LEVELS : 1;
      ctx.fillStyle = stars[b % K][0];
      ctx.beginPath();
      for (var m = start[b]; m < start[b + 1]; m++) {
        var j = order[m];
        if (r < 2) {
          ctx.rect(PX[j] - r, PY[j] - r, 2 * r, 2 * r);
        } else {
          ctx.moveTo(PX[j] + r, PY[j]);
          ctx.arc(PX[j], PY[j], r, 0, 2 * Math.PI);
        }
        drawn++;
      }
      ctx.fill();
    }
    // Owned systems boxed in their owners' colours, faint enough to show the star.
    for (var o = 0; o < owners.length; o++) {
      var half = r + 3, any = false;
      ctx.beginPath();
      for (k = 0; k < n; k++) {
        if (!shownFlag[k] || owner[k] !== o) continue;
        ctx.rect(PX[k] - half, PY[k] - half, 2 * half, 2 * half);
        any = true;
      }
      if (!any) continue;
      ctx.fillStyle = ctx.strokeStyle = owners[o][0];
      ctx.globalAlpha = 0.3;
      ctx.fill();
      ctx.globalAlpha = 0.9;
      ctx.lineWidth = 1;
      ctx.stroke();
    }
    ctx.globalAlpha = 1;
    buildGrid();
    var labels = withLabels ? drawLabels(r, dMin, span) : 0;
    holder.setAttribute('data-systems', n);
    holder.setAttribute('data-dots', drawn);
    holder.setAttribute('data-linked', linked);
    if (withLabels) holder.setAttribute('data-labels', labels);
    holder.setAttribute('data-frame-ms', Math.round(performance.now() - began));
    var count = document.getElementById('atlas-map-count');
    if (count) {
      count.textContent = (shown === n ? n + ' systems' : shown + ' of ' + n + ' systems in the slab') +
          (withLabels ? ', ' + labels + ' named' : '');
    }
    if (!drawnOnce) {
      drawnOnce = true;
      holder.setAttribute('data-drawn-ms', Math.round(performance.now()));
    }
  }

  // Redraws at the next frame; the names come back once the map rests.
  var pending = false, pendingLabels = false, restTimer = 0;
  function request(withLabels) {
    pendingLabels = pendingLabels || withLabels;
    if (!withLabels) {
      clearTimeout(restTimer);
      restTimer = setTimeout(function () { request(true); }, 160);
    }
    if (pending) return;
    pending = true;
    window.requestAnimationFrame(function () {
      pending = false;
      var full = pendingLabels;
      pendingLabels = false;
      draw(full);
    });
  }

  var tip = document.getElementById('atlas-map-tip');
  function tipLine(text, strong) {
    var line = document.createElement(strong ? 'strong' : 'div');
    line.textContent = text;
    tip.appendChild(line);
    if (strong) tip.appendChild(document.createElement('br'));
  }
  function showTip(k, x, y) {
    if (!tip) return;
    if (k < 0) { tip.hidden = true; return; }
    while (tip.firstChild) tip.removeChild(tip.firstChild);
    var where = X[k] + ', ' + Y[k] + ', ' + Z[k];
    if (kind[k] === UNKNOWN) {
      tipLine('Unknown system', true);
      tipLine('at ' + where);
    } else {
      tipLine(names[k] || 'System ' + ids[k], true);
      tipLine('System ' + ids[k] + ' at ' + where);
      tipLine(stars[kind[k]][1]);
      if (owner[k] >= 0) tipLine('Controlled by ' + owners[owner[k]][1]);
      tipLine(links[k] ? 'Click to open its page' : 'No page of its own');
    }
    tip.hidden = false;
    var left = x + 14, top = y + 14;
    if (left + tip.offsetWidth > W) left = Math.max(0, x - 14 - tip.offsetWidth);
    if (top + tip.offsetHeight > H) top = Math.max(0, y - 14 - tip.offsetHeight);
    tip.style.left = left + 'px';
    tip.style.top = top + 'px';
  }

  function local(ev) {
    var rect = canvas.getBoundingClientRect();
    return [ev.clientX - rect.left, ev.clientY - rect.top];
  }
  function open(k) {
    if (k >= 0 && links[k]) window.location.href = links[k];
  }

  var drag = null;
  canvas.addEventListener('pointerdown', function (ev) {
    if (ev.button !== 0) return;
    drag = { x: ev.clientX, y: ev.clientY, x0: ev.clientX, y0: ev.clientY, moved: false, pan: ev.shiftKey };
    try { canvas.setPointerCapture(ev.pointerId); } catch (ignored) { /* a synthetic pointer */ }
  });
  canvas.addEventListener('pointermove', function (ev) {
    var p = local(ev);
    if (drag) {
      if (!drag.moved && Math.abs(ev.clientX - drag.x0) + Math.abs(ev.clientY - drag.y0) < 4) return;
      if (!drag.moved) canvas.classList.add('dragging');
      drag.moved = true;
      var dx = ev.clientX - drag.x, dy = ev.clientY - drag.y;
      drag.x = ev.clientX;
      drag.y = ev.clientY;
      if (drag.pan) {
        panX += dx;
        panY += dy;
      } else {
        yaw += dx * 0.01;
        pitch = clamp(pitch + dy * 0.01, -Math.PI / 2, Math.PI / 2);
      }
      showTip(-1);
      request(false);
      return;
    }
    var k = pick(p[0], p[1]);
    showTip(k, p[0], p[1]);
    canvas.style.cursor = k >= 0 && links[k] ? 'pointer' : '';
  });
  canvas.addEventListener('pointerup', function (ev) {
    if (!drag) return;
    var moved = drag.moved;
    drag = null;
    canvas.classList.remove('dragging');
    if (moved) { request(true); return; }
    var p = local(ev);
    open(pick(p[0], p[1]));
  });
  canvas.addEventListener('pointercancel', function () {
    drag = null;
    canvas.classList.remove('dragging');
    request(true);
  });
  canvas.addEventListener('pointerleave', function () {
    showTip(-1);
  });
  // The wheel zooms about the pointer: the point under it stays put.
  canvas.addEventListener('wheel', function (ev) {
    ev.preventDefault();
    var p = local(ev), before = zoom;
    zoom = clamp(zoom * Math.exp(-ev.deltaY * 0.0015), 0.3, 80);
    var f = zoom / before;
    panX = p[0] - W / 2 - (p[0] - W / 2 - panX) * f;
    panY = p[1] - H / 2 - (p[1] - H / 2 - panY) * f;
    showTip(-1);
    request(false);
  }, { passive: false });
  canvas.addEventListener('keydown', function (ev) {
    var step = 0.08, used = true;
    if (ev.key === 'ArrowLeft') yaw -= step;
    else if (ev.key === 'ArrowRight') yaw += step;
    else if (ev.key === 'ArrowUp') pitch = clamp(pitch - step, -Math.PI / 2, Math.PI / 2);
    else if (ev.key === 'ArrowDown') pitch = clamp(pitch + step, -Math.PI / 2, Math.PI / 2);
    else if (ev.key === '+' || ev.key === '=') zoom = clamp(zoom * 1.2, 0.3, 80);
    else if (ev.key === '-') zoom = clamp(zoom / 1.2, 0.3, 80);
    else used = false;
    if (used) { ev.preventDefault(); request(true); }
  });

  function setView(y, p) {
    yaw = y;
    pitch = clamp(p, -Math.PI / 2, Math.PI / 2);
    fit();
    request(true);
  }
  var topButton = document.getElementById('atlas-map-top');
  if (topButton) topButton.addEventListener('click', function () { setView(0, 0); });
  var tiltButton = document.getElementById('atlas-map-tilt');
  if (tiltButton) tiltButton.addEventListener('click', function () { setView(-0.45, 0.85); });

  // The slab: z from .. to, either way round.
  var fromBox = document.getElementById('atlas-map-from'), toBox = document.getElementById('atlas-map-to');
  function readSlab() {
    var a = parseInt(fromBox.value, 10), b = parseInt(toBox.value, 10);
    if (isNaN(a)) a = lo[2];
    if (isNaN(b)) b = hi[2];
    zFrom = Math.min(a, b);
    zTo = Math.max(a, b);
    request(true);
  }
  if (fromBox && toBox) {
    fromBox.addEventListener('input', readSlab);
    toBox.addEventListener('input', readSlab);
  }
  window.addEventListener('resize', function () { resize(); request(true); });

  var clickId = null, scrollToMap = false;
  location.hash.replace(/^#/, '').split('&').forEach(function (part) {
    var kv = part.split('=');
    if (kv[0] === 'view' && kv[1]) {
      var v = kv[1].split(',').map(parseFloat);
      if (!isNaN(v[0])) yaw = v[0] * Math.PI / 180;
      if (!isNaN(v[1])) pitch = clamp(v[1] * Math.PI / 180, -Math.PI / 2, Math.PI / 2);
    } else if (kv[0] === 'slab' && kv[1]) {
      var z = kv[1].split(',');
      if (fromBox && toBox && z.length === 2) {
        fromBox.value = z[0];
        toBox.value = z[1];
        readSlab();
      }
    } else if (kv[0] === 'map') {
      scrollToMap = true;
    } else if (kv[0] === 'click' && kv[1]) {
      clickId = parseFloat(kv[1]);
    }
  });
  // Scrolled once the page below the map is laid out, so that it can be.
  window.addEventListener('load', function () {
    holder.setAttribute('data-loaded-ms', Math.round(performance.now()));
    if (scrollToMap) holder.scrollIntoView();
  });
  resize();
  fit();
  draw(true);
  if (clickId !== null) {
    for (var c = 0; c < n; c++) {
      if (ids[c] !== clickId) continue;
      var rect = canvas.getBoundingClientRect();
      var at = { clientX: rect.left + PX[c], clientY: rect.top + PY[c], button: 0, pointerId: 1, bubbles: true };
      canvas.dispatchEvent(new PointerEvent('pointerdown', at));
      canvas.dispatchEvent(new PointerEvent('pointerup', at));
      break;
    }
  }
})();
)js";

constexpr std::string_view kStyle =
    ".live-only{display:none}html.map-live .live-only{display:block}html.map-live .flat-only{display:none}"
    "@media print{html.map-live .live-only{display:none}html.map-live .flat-only{display:block}}"
    ".map-controls{margin:.3em 0 .5em}.map-controls input{width:5em}.map-controls button{margin-left:.4em}"
    ".map-frame{position:relative}"
    "#atlas-map-canvas{display:block;width:100%;background:#0b1020;cursor:grab;touch-action:none}"
    "#atlas-map-canvas.dragging{cursor:grabbing}"
    ".map-tip{position:absolute;pointer-events:none;background:rgba(11,16,32,.92);color:#dde3f0;"
    "border:1px solid #9aa7c4;border-radius:3px;padding:.3em .6em;font-size:.85em;white-space:nowrap}"
    ".map-legend{list-style:none;padding:0;margin:.4em 0 1em;columns:16em 4;font-size:.9em}"
    ".map-legend .dot,.map-legend .box{display:inline-block;width:.75em;height:.75em;vertical-align:middle}"
    ".map-legend .dot{border-radius:50%}.map-legend .box{opacity:.7}";

// A browser ends a script element at "</"+"script", an XML reader ends a
// CDATA section at "]]>": neither may appear in the script.
static_assert(kScript.find("</") == std::string_view::npos);
static_assert(kScript.find("]]>") == std::string_view::npos);
// The style sits in a plain element of an XML page.
static_assert(kStyle.find_first_of("<>&") == std::string_view::npos);

}  // namespace

std::string_view atlasMapScript() { return kScript; }
std::string_view atlasMapStyle() { return kStyle; }

}  // namespace orrimar::exports
