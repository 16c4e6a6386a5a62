# reference_dctrans_kx77.awk: the core of a DC job -> KX77 translation as a user would script it, for jobs in a
# projected system (UTM, KP2000): every point record 69 becomes its KX77 point lines, with the
# attribute and note lines that follow them, byte for byte as `dctrans ... 0 "b,"` writes them.
# Left out: the comment, title and column-header lines at the top, points that need the
# known-point file (GPS and observed points), the System 34 sign rule and the geographic systems.
#   LC_ALL=C awk [-v seps=b,] -f reference_dctrans_kx77.awk JOB.dc > body.kx
# seps: the code separators as dctrans takes them (the first "b" stands for a blank).
BEGIN {
    if (seps == "") seps = "b,"
    seps = substr(seps, 1, 15)
    k = index(seps, "b")
    if (k) seps = substr(seps, 1, k - 1) " " substr(seps, k + 1)
    sepre = "("
    for (k = 1; k <= length(seps); k++) {
        c = substr(seps, k, 1)
        sepre = sepre (k > 1 ? "|" : "") (index("\\^$.[]|()*+?{}/", c) ? "\\" c : c)
    }
    sepre = sepre ")+"
    SENT = -999999999.999
    B16 = "                "
    order = ""; unit = ""
    pend = 0
}

# Text field: trailing, then leading blanks off, then the Danish escapes.
function txt(s) {
    sub(/ +$/, "", s)
    sub(/^ +/, "", s)
    if (index(s, "*")) s = unesc(s)
    return s
}
function unesc(s,   out, k, c) {
    out = ""
    while ((k = index(s, "*")) > 0) {
        out = out substr(s, 1, k - 1)
        c = substr(s, k + 1, 1)
        if (c == "A") c = "\305"; else if (c == "E") c = "\306"; else if (c == "O") c = "\330"
        else if (c == "a") c = "\345"; else if (c == "e") c = "\346"; else if (c == "o") c = "\370"
        else c = ""
        if (c == "") { out = out "x"; s = substr(s, k + 1) }
        else { out = out c; s = substr(s, k + 2) }
    }
    return out s
}
# Distance field at 1-based position p: 16 blanks are missing, feet become metres.
function dist(p,   f, v) {
    f = substr($0, p, 16)
    if (f == B16) return SENT
    v = f + 0
    if (v < -9000000) return SENT
    if (unit == "2" || unit == "3") v *= 0.3048006096012192
    return v
}
# KX77 code rule: by the value of the leading number.
function kx(c,   v, k, t) {
    v = 0
    if (match(c, /^ *[-+]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][-+]?[0-9]+)?/)) v = substr(c, 1, RLENGTH) + 0
    if (v < 0.05) {
        if (match(c, /_[^_]*$/)) return substr(c, RSTART + 1)
        return c
    }
    if (v > 0.95 && (k = index(c, "_"))) {
        t = substr(c, k + 1)
        c = substr(c, 1, k - 1)
        if ((k = index(t, "."))) c = c substr(t, k)
    }
    return c
}
function pline(c) {
    if (py < -900000000.0) return
    if (pz > -9000.0) printf "%10.10s %15.3f %15.3f %10.3f %s\n", pname, py, px, pz, c
    else printf "%10.10s %15.3f %15.3f%s %s\n", pname, py, px, "           ", c
}
function attrlines(t,   j, g) {
    for (j = 1; j <= na; j++) {
        g = ag[j]
        if (substr(t, 1, length(g)) == g) print "&_" g "." an[j] "=" av[j]
    }
}
# A 69 starts a point; its scan runs over the attribute records that follow it.
function point(   f) {
    pend = 1; pnr = NR; na = 0; nn = 0
    pname = txt(substr($0, 5, 16))
    a = dist(21); b = dist(37); pz = dist(53)
    if (order == "2") { px = a; py = b } else { px = b; py = a }
    pcode = txt(substr($0, 69, 16))
    f = substr($0, 3, 2)
    pexp = (f == "KI" || f == "CC" || f == "RS" || f == "F1" || f == "IX") \
        && substr($0, 85, 1) != "5" && !(substr($0, 86, 1) >= "6")
}
function flush(   code, n, i, t, s, any) {
    pend = 0
    if (pexp) {
        code = pcode
        gsub(/ +\./, ".", code)
        n = split(code, tk, sepre)
        any = 0
        for (i = 1; i <= n; i++) {
            t = tk[i]
            if (t == "") continue
            any = 1
            if (substr(t, 1, 1) == "&") {
                if (t == "&R") s = "Retningspkt"
                else if (substr(t, 1, 3) == "&S:") s = "St\370rrelse: " substr(t, 4)
                else s = substr(t, 2)
                gsub(/\+/, " ", s)
                print "&_" s
            } else pline(kx(t))
            attrlines(t)
        }
        if (!any) pline(kx("   "))
    }
    for (i = 1; i <= nn; i++) print "&_" nt[i]
    na = nn = 0
}
function attr(w) {
    ag[++na] = grp
    an[na] = txt(substr($0, 5, 20))
    av[na] = txt(substr($0, 25, w))
}
# Note 13 NM: report-only notes are dropped, the others are info lines (after the point's lines).
function note(   t) {
    if (substr($0, 3, 2) != "NM") return
    t = txt(substr($0, 5, 60))
    if (index(t, "Receiver firmware version")) return
    if (substr(t, 1, 3) == "VRS" || substr(t, 1, 9) == "New base " || substr(t, 1, 1) == ":" \
        || substr(t, 1, 11) == "TP Exchange") return
    if (pend) nt[++nn] = t
    else print "&_" t
}

{ sub(/\r$/, "") }
{
    rc = substr($0, 1, 2)
    if (rc == "69") { if (pend) flush(); point(); next }
    if (rc == "87") { grp = txt(substr($0, 5, 20)); next }
    if (rc == "13") { note(); next }
    if (pend) {
        if (rc == "88") { attr(16); next }
        if (rc == "89") { attr(100); next }
        if (rc == "90") { attr(10); next }
        if (rc == "91") { attr(8); next }
        if (rc == "92") { attr(20); next }
        if (rc == "B6") { if (NR == pnr + 1) pcode = txt(substr($0, 5, 100)); next }
        if (rc == "59" || rc == "60" || rc == "C6") next
        flush()
    }
    if (rc == "00") { unit = substr($0, 42, 1); order = substr($0, 45, 1) }
}
END { if (pend) flush() }
