#!/usr/bin/env bash
# One short session of the language server under Wine: initialize, open a line description
# (with a misspelt row), hover on the length's value, shutdown,
# exit. The answers must come framed, in order, and the server must end with status 0.
set -euo pipefail
build=$1
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT
python3 - "$lavoro/entrata" <<'PY'
import json, sys
def messaggio(o):
    b = json.dumps(o).encode()
    return b"Content-Length: %d\r\n\r\n" % len(b) + b
uri = "file:///Z:/tmp/Prova_linea.txt"
testo = "[generale]\r\nlunghezza percorso, 20000\r\n[pendenze]\r\npendneza, 500, -5\r\n[fine]\r\n"
sessione = [
    {"jsonrpc": "2.0", "id": 1, "method": "initialize",
     "params": {"processId": None, "rootUri": None, "capabilities": {}}},
    {"jsonrpc": "2.0", "method": "initialized", "params": {}},
    {"jsonrpc": "2.0", "method": "textDocument/didOpen",
     "params": {"textDocument": {"uri": uri, "languageId": "brunavia", "version": 1,
                                 "text": testo}}},
    {"jsonrpc": "2.0", "id": 2, "method": "textDocument/hover",
     "params": {"textDocument": {"uri": uri}, "position": {"line": 1, "character": 22}}},
    {"jsonrpc": "2.0", "id": 3, "method": "shutdown"},
    {"jsonrpc": "2.0", "method": "exit"},
]
open(sys.argv[1], "wb").write(b"".join(messaggio(m) for m in sessione))
PY
stato=0
timeout 120 wine "$build/brunavia-tool.exe" lsp <"$lavoro/entrata" >"$lavoro/uscita" || stato=$?
[ "$stato" -eq 0 ] || { echo "il server e' uscito con $stato" >&2; exit 1; }
python3 - "$lavoro/uscita" <<'PY'
import json, sys
dati = open(sys.argv[1], "rb").read()
risposte = {}
while dati:
    testa, _, resto = dati.partition(b"\r\n\r\n")
    assert testa.startswith(b"Content-Length: "), testa
    n = int(testa.split(b": ")[1])
    m = json.loads(resto[:n])
    dati = resto[n:]
    if "id" in m:
        risposte[m["id"]] = m
assert risposte[1]["result"]["capabilities"]["hoverProvider"], risposte[1]
hover = risposte[2]["result"]["contents"]["value"]
assert "lunghezza percorso" in hover and "valore2" in hover, hover
assert risposte[3]["result"] is None, risposte[3]
print("sessione lsp sotto Wine: initialize, hover, shutdown, exit 0")
PY
