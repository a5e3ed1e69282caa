// Pure helpers of make-anthology.mjs: text cleaning, GBK checks, poet choice and the output
// texts. No file or network access here, so the rules can be tested on small inputs.

import iconv from 'iconv-lite';

export const MIDDLE_DOT = '\u00B7'; // GBK A1A4
export const MISSING = '\u25A1'; // "□", GBK A1F5: stands for a character GBK cannot hold
export const CRLF = '\r\n';

// Kinds of replaced characters, in the order the tool reports them.
export const REPLACEMENT_KINDS = ['middle dot', 'rare', 'damaged', 'private use', 'other'];

const PRIVATE_USE = /[\uE000-\uF8FF\u{F0000}-\u{10FFFF}]/u;
const HAN = /^\p{Script=Han}$/u;

const gbkCache = new Map();

// True when GBK holds ch and the reader will decode it back to ch. iconv-lite's "gbk" also
// fills about eighty codes that code page 936 (what the reader decodes with) leaves to private
// use, so a character must survive both tables.
export function gbkHolds(ch) {
    let ok = gbkCache.get(ch);
    if (ok === undefined) {
        const bytes = iconv.encode(ch, 'gbk');
        ok = !PRIVATE_USE.test(ch) && iconv.decode(bytes, 'gbk') === ch &&
            iconv.decode(bytes, 'cp936') === ch;
        gbkCache.set(ch, ok);
    }
    return ok;
}

// Why ch cannot be written as it is, or null when it can.
export function replacementKind(ch) {
    if (ch === '\u30FB') return 'middle dot';
    if (gbkHolds(ch)) return null;
    // U+FFFD marks a character lost before the corpus was made; a lone surrogate is broken.
    if (ch === '\uFFFD' || (ch.length === 1 && ch >= '\uD800' && ch <= '\uDFFF')) return 'damaged';
    if (PRIVATE_USE.test(ch)) return 'private use';
    if (HAN.test(ch)) return 'rare';
    return 'other';
}

export function newCounts() {
    return Object.fromEntries(REPLACEMENT_KINDS.map((kind) => [kind, 0]));
}

// One output line: GBK-safe characters, no trailing whitespace. Adds each replacement to
// counts. Iterating the string walks code points, so a supplementary character is one "□".
export function cleanLine(text, counts) {
    let out = '';
    for (const ch of text) {
        const kind = replacementKind(ch);
        if (kind === null) {
            out += ch;
        } else {
            counts[kind] += 1;
            out += kind === 'middle dot' ? MIDDLE_DOT : MISSING;
        }
    }
    return out.trimEnd();
}

// Splits a corpus string on any line break it carries; each piece becomes an output line.
export function splitLines(text) {
    return text.split(/\r\n|\r|\n|\u2028|\u2029/);
}

// Joins a multi-line biography into one line: Chinese text joins directly, a space is kept
// only between two ASCII words.
export function joinLines(text) {
    return text.replace(/[ \t]*(?:\r\n|\r|\n|\u2028|\u2029)+[ \t]*/g, (m, at, whole) => {
        const before = whole[at - 1] ?? '';
        const after = whole[at + m.length] ?? '';
        return /[\x21-\x7E]/.test(before) && /[\x21-\x7E]/.test(after) ? ' ' : '';
    });
}

// The corpus writes a biography as "--" and the text (what stood before "--" was cut off);
// "--" alone means there is none, given back as ''.
export function biographyText(description) {
    return joinLines(description ?? '').trim().replace(/^--/, '').trim();
}

// Attributions that name no one: "unknown" placeholders, forms with 某 ("so-and-so"), and
// designations through someone else ("wife of ...", "concubine of ...", "the woman who ...").
const UNNAMED = new Set(['无名氏', '佚名', '失名', '阙名', '无名', '不详']);

// Why a corpus author cannot be a poet of the anthology, or null when it can.
export function nameProblem(name) {
    if (/\p{Nd}/u.test(name)) return 'carries a digit';
    if (![...name].every((ch) => HAN.test(ch))) return 'not a plain name';
    if (![...name].every(gbkHolds)) return 'not in GBK';
    if (UNNAMED.has(name) || name.includes('某') || /(?:[妻妾]|女子)$/.test(name)) return 'names no one';
    return null;
}

// Chooses the poets: per name length, the names with most ci (ties: first appearance), then
// all of them in order of first appearance. authors is the corpus's author list, one item per
// ci in corpus order; quotas maps a name length to how many names of that length to take.
// Throws when a length cannot fill its quota.
export function choosePoets(authors, quotas) {
    const stats = new Map();
    authors.forEach((name, at) => {
        const s = stats.get(name);
        if (s) s.count += 1;
        else stats.set(name, { name, count: 1, first: at });
    });
    const byRank = (a, b) => b.count - a.count || a.first - b.first;
    const rejected = [];
    const chosen = [];
    const cutoffs = [];
    for (const [length, quota] of quotas) {
        const all = [...stats.values()].filter((s) => [...s.name].length === length).sort(byRank);
        const fit = [];
        for (const s of all) {
            const problem = nameProblem(s.name);
            if (problem) rejected.push({ ...s, problem });
            else fit.push(s);
        }
        if (fit.length < quota)
            throw new Error(`only ${fit.length} usable ${length}-character names, ${quota} wanted`);
        const taken = fit.slice(0, quota);
        chosen.push(...taken);
        const last = taken[taken.length - 1];
        cutoffs.push({ length, quota, lowest: last.count,
                       tiedOut: fit.slice(quota).filter((s) => s.count === last.count) });
    }
    chosen.sort((a, b) => a.first - b.first);
    return { chosen, rejected: rejected.sort(byRank), cutoffs };
}

// Entry file number of entry index i: i + 1 with at least two digits.
export function entryFileName(index) {
    return `${String(index + 1).padStart(2, '0')}.txt`;
}

// The lines of one entry: name, biography, blank, then each ci as title, prologue (when the
// corpus has one), its lines and a blank line. Lines that would come out empty inside a ci
// are left out, as a blank line ends a ci.
export function entryLines(name, biography, cis, counts) {
    const lines = [name, biography, ''];
    for (const ci of cis) {
        const body = [ci.rhythmic, ...(ci.prologue ? [ci.prologue] : []), ...ci.paragraphs]
            .flatMap(splitLines)
            .map((line) => cleanLine(line, counts))
            .filter((line) => line !== '');
        lines.push(...body, '');
    }
    return lines;
}

// GBK bytes of text; throws if decoding them would not give text back exactly.
export function encodeExact(text, what) {
    const bytes = iconv.encode(text, 'gbk');
    if (iconv.decode(bytes, 'gbk') !== text || iconv.decode(bytes, 'cp936') !== text)
        throw new Error(`${what}: GBK round trip changes the text`);
    return bytes;
}

// A C string literal of GBK bytes: each double-byte character is a literal of two hex escapes,
// so a following character that looks hexadecimal cannot join an escape. Printable ASCII runs
// stay readable; any other single byte is escaped on its own.
export function cStringLiteral(bytes) {
    const pieces = [];
    let plain = '';
    const flush = () => {
        if (plain) pieces.push(`"${plain}"`);
        plain = '';
    };
    const hex = (b) => `\\x${b.toString(16).padStart(2, '0')}`;
    for (let i = 0; i < bytes.length; i++) {
        const b = bytes[i];
        if (b >= 0x81 && b <= 0xFE && i + 1 < bytes.length) {
            flush();
            pieces.push(`"${hex(b)}${hex(bytes[++i])}"`);
        } else if (b >= 0x20 && b < 0x7F && b !== 0x22 && b !== 0x5C && b !== 0x3F) {
            plain += String.fromCharCode(b);
        } else {
            flush();
            pieces.push(`"${hex(b)}"`);
        }
    }
    flush();
    return pieces.length ? pieces.join(' ') : '""';
}
