-- Neovim as a client of `brunavia-tool lsp`, headless: opens the file given on the command
-- line, waits for its diagnostics, asks for a hover and a completion at the places named by
-- the environment and writes what it got, as JSON, to $BRUNAVIA_NVIM_USCITA.
--   BRUNAVIA_TOOL: the tool's executable
--   BRUNAVIA_HOVER, BRUNAVIA_COMPLETAMENTO: "line,character" (from 0)
vim.opt.fileencodings = 'ucs-bom,utf-8,cp1252'
local uscita = os.getenv('BRUNAVIA_NVIM_USCITA')
local risultati = { diagnostiche = {}, hover = vim.NIL, completamento = {} }

local function scrivi_e_esci()
  local f = io.open(uscita, 'w')
  f:write(vim.fn.json_encode(risultati))
  f:close()
  vim.cmd('qall!')
end

local function punto(nome)
  local r, c = string.match(os.getenv(nome), '(%d+),(%d+)')
  return { line = tonumber(r), character = tonumber(c) }
end

local function prova()
  local buf = vim.api.nvim_get_current_buf()
  local id = vim.lsp.start_client({
    name = 'brunavia',
    cmd = { os.getenv('BRUNAVIA_TOOL'), 'lsp' },
    root_dir = vim.fn.expand('%:p:h'),
  })
  vim.lsp.buf_attach_client(buf, id)
  vim.wait(10000, function() return #vim.diagnostic.get(buf) > 0 end, 50)
  for _, d in ipairs(vim.diagnostic.get(buf)) do
    table.insert(risultati.diagnostiche,
      { riga = d.lnum, colonna = d.col, codice = d.code, messaggio = d.message })
  end
  local uri = vim.uri_from_bufnr(buf)
  local h = vim.lsp.buf_request_sync(buf, 'textDocument/hover',
    { textDocument = { uri = uri }, position = punto('BRUNAVIA_HOVER') }, 10000)
  for _, r in pairs(h or {}) do
    if r.result then risultati.hover = r.result.contents.value end
  end
  local c = vim.lsp.buf_request_sync(buf, 'textDocument/completion',
    { textDocument = { uri = uri }, position = punto('BRUNAVIA_COMPLETAMENTO') }, 10000)
  for _, r in pairs(c or {}) do
    for _, voce in ipairs((r.result or {}).items or {}) do
      table.insert(risultati.completamento, voce.label)
    end
  end
  vim.lsp.stop_client(id)
  scrivi_e_esci()
end

vim.api.nvim_create_autocmd('VimEnter', { callback = function() vim.schedule(prova) end })
