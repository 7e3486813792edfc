// Swarm!'s recorded runs in the page: a recording as a link (deflate-raw,
// base64url, in the URL's fragment, which no server ever sees), and the best
// game kept in the page's storage beside the high score.
"use strict";

window.swarmReplays = (function () {
  const linkKey = "watch=";
  const bestKey = "swarm.BestGame.keys";
  const maxRecordingBytes = 1 << 20; // what the game reads of a recording at most
  const maxLinkChars = 4 << 20; // a fragment longer than this is not even decoded

  function toBase64Url(bytes) {
    let binary = "";
    for (let i = 0; i < bytes.length; i += 0x8000)
      binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(binary).replace(/\+/g, "-").replace(/\//g, "_").replace(/=+$/, "");
  }

  function fromBase64Url(text) {
    if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) throw new Error("not base64url");
    const binary = atob(text.replace(/-/g, "+").replace(/_/g, "/"));
    return Uint8Array.from(binary, (c) => c.charCodeAt(0));
  }

  // Reads a stream to its end, or throws past `limit` bytes.
  async function readAll(stream, limit) {
    const reader = stream.getReader();
    const parts = [];
    let size = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      size += value.length;
      if (size > limit) {
        reader.cancel().catch(() => {});
        throw new Error("too long");
      }
      parts.push(value);
    }
    const all = new Uint8Array(size);
    let at = 0;
    for (const part of parts) {
      all.set(part, at);
      at += part.length;
    }
    return all;
  }

  const through = (bytes, transform) => new Blob([bytes]).stream().pipeThrough(transform);

  // The recording's text as a link's fragment value.
  async function squeeze(text) {
    const bytes = new TextEncoder().encode(text);
    return toBase64Url(await readAll(through(bytes, new CompressionStream("deflate-raw")), Infinity));
  }

  // The recording's text from a fragment value; throws when it is damaged.
  async function unsqueeze(value) {
    if (value.length > maxLinkChars) throw new Error("too long");
    const stream = through(fromBase64Url(value), new DecompressionStream("deflate-raw"));
    return new TextDecoder("utf-8", { fatal: true }).decode(await readAll(stream, maxRecordingBytes));
  }

  return {
    // The link that plays `text`: this page's address with the recording in
    // its fragment.
    async linkOf(text) {
      return `${location.origin}${location.pathname}${location.search}#${linkKey}${await squeeze(text)}`;
    },
    // What the page's address asks for: null (play), or {text} or {damaged}
    // for a link to a recording.
    async fromAddress() {
      const fragment = location.hash.slice(1);
      if (!fragment.startsWith(linkKey)) return null;
      try {
        return { text: await unsqueeze(fragment.slice(linkKey.length)) };
      } catch (e) {
        return { damaged: true };
      }
    },
    // Drops the recording from the page's address, so that a reload plays.
    forgetAddress() {
      if (location.hash) history.replaceState(null, "", location.pathname + location.search);
    },

    // The best game: {score, run, text}, `run` naming the run (its recording's
    // first line), or null.
    best() {
      try {
        const kept = JSON.parse(localStorage.getItem(bestKey));
        return kept && typeof kept.text === "string" && Number.isInteger(kept.score) ? kept : null;
      } catch (e) {
        return null;
      }
    },
    // Keeps a run's recording when it beats the best game kept, or is a later
    // part of the same run. Returns whether the store holds it.
    keepBest(score, text) {
      const run = text.slice(0, text.indexOf("\n"));
      const kept = this.best();
      if (kept && kept.score > score) return false;
      if (kept && kept.score === score && kept.run !== run) return false;
      try {
        localStorage.setItem(bestKey, JSON.stringify({ score, run, text }));
        return true;
      } catch (e) {
        return false; // refused (a private window, a full quota)
      }
    },
  };
})();
