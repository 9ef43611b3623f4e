#!/usr/bin/env python3
"""Checks of the cloud account simulator, run against a live instance on 127.0.0.1."""
import http.client
import json
import os
import signal
import socket
import subprocess
import sys
import time
import unittest
from urllib.parse import urlencode

HERE = os.path.dirname(os.path.abspath(__file__))
SIM = os.path.join(HERE, "cloud_sim.py")
API = "/app/api26/api.php"
DEMO = [("usuario_email", "demo@balcona.com.br"), ("usuario_senha", "demo123")]


def start(*extra):
    proc = subprocess.Popen([sys.executable, SIM, "--port", "0", "--quiet", *extra],
                            stdout=subprocess.PIPE, text=True)
    line = proc.stdout.readline().strip()
    if not line.startswith("PORT "):
        proc.kill()
        raise RuntimeError(f"no PORT line: {line!r}")
    return proc, int(line.split()[1])


class Sim(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.proc, cls.port = start()

    @classmethod
    def tearDownClass(cls):
        cls.proc.terminate()
        cls.proc.wait(5)
        cls.proc.stdout.close()

    def setUp(self):
        self.control("POST", "reset")

    def request(self, method, path, body=None, headers=None, timeout=10):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=timeout)
        try:
            conn.request(method, path, body=body, headers=headers or {})
            resp = conn.getresponse()
            return resp.status, resp.getheader("Content-Type"), resp.read()
        finally:
            conn.close()

    def call(self, comando, fields=(), credentials=DEMO, method="POST", body=None, **kw):
        query = urlencode(list(credentials) + [("comando", comando)] + list(fields))
        return self.request(method, f"{API}?{query}", body=body, **kw)

    def call_json(self, comando, fields=(), credentials=DEMO):
        status, ctype, body = self.call(comando, fields, credentials)
        self.assertEqual((status, ctype), (200, "application/json; charset=utf-8"))
        return json.loads(body.decode("utf-8"))

    def control(self, method, path, body=None, **params):
        status, _, data = self.request(method, f"/__sim/{path}?{urlencode(params)}", body=body)
        self.assertEqual(status, 200, data)
        return json.loads(data)

    def sync(self, since):
        return self.call_json("sincronia", [("dt_update", since)])

    # --- commands

    def test_login_names_user_and_company_for_good_credentials_only(self):
        company_keys = {"id", "fantasia", "uf", "cidade", "endereco", "numero", "bairro",
                        "fone1", "cnpj", "site", "email", "instagram", "facebook", "tiktok",
                        "twitter", "youtube", "conf_desc_limit", "venda_altvalor"}
        cases = [
            # e-mail as typed, password, user e-mail returned (None: refused)
            ("demo@balcona.com.br", "demo123", "demo@balcona.com.br"),
            ("DEMO@Balcona.com.br", "demo123", "demo@balcona.com.br"),
            ("gerente@balcona.com.br", "gerente123", "gerente@balcona.com.br"),
            ("demo@balcona.com.br", "DEMO123", None),
            ("demo@balcona.com.br", "gerente123", None),
            ("ninguem@balcona.com.br", "demo123", None),
        ]
        for email, password, returned in cases:
            with self.subTest(email=email, password=password):
                reply = self.call_json("login", [("horario", "09122025143005")],
                                       [("usuario_email", email), ("usuario_senha", password)])
                if returned is None:
                    self.assertEqual(reply, {"empresas_user": [], "empresas": []})
                    continue
                self.assertEqual(reply["empresas_user"][0]["email"], returned)
                company = reply["empresas"][0]
                self.assertEqual(set(company), company_keys)
                self.assertEqual((company["fantasia"], company["cnpj"], company["conf_desc_limit"],
                                  company["venda_altvalor"]),
                                 ("Mercadinho São José", "11.222.333/0001-81", 10, 1))

    def test_other_commands_check_credentials_and_unknown_commands_are_refused(self):
        bad = [("usuario_email", "demo@balcona.com.br"), ("usuario_senha", "errada")]
        for comando in ("sincronia", "upload_venda", "venda_consultas", "entregador_update",
                        "seguranca", "download_imagens", "pix", "lista_entrega", "venda_cupom",
                        "rel_gerencial"):
            with self.subTest(comando=comando):
                self.assertEqual(self.call_json(comando, credentials=bad),
                                 {"erro": "Usuário ou senha inválidos"})
        self.assertEqual(self.call_json("inventario"), {"erro": "comando desconhecido"})
        self.assertEqual(self.call_json("inventario", credentials=bad),
                         {"erro": "comando desconhecido"})

    def test_full_sincronia_sends_every_section_with_the_keys_the_terminal_reads(self):
        reply = self.sync("1982-03-15 00:00:00")
        self.assertEqual(list(reply), ["datahora", "instalador", "produtos", "clientes",
                                       "funcionarios", "cidades", "rotas", "pagamentos",
                                       "cartoes", "mensagens"])
        self.assertRegex(reply["datahora"], r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d$")
        self.assertEqual(reply["instalador"], "")
        products = {p["cbarra"]: p for p in reply["produtos"]}
        self.assertGreaterEqual(len(products), 55)
        self.assertTrue(all("dt_promocao" in p and not any(k.startswith("_") for k in p)
                            for p in reply["produtos"]))
        coffee = products["7891000100042"]
        self.assertEqual((float(coffee["promocao"]), float(coffee["promocao_min"])), (10, 3))
        self.assertLess(coffee["dt_promocao"], reply["datahora"])
        self.assertEqual(float(products["7891000100080"]["estoque"]), 0)
        self.assertEqual(products["2000021"]["medida"], "KG")
        customers = reply["clientes"]
        self.assertEqual(sum("ativo" not in c for c in customers), 1)
        self.assertEqual({c["credito"] for c in customers}, {"Concedido", "Avaliacao", "Negativado"})
        self.assertIn("123.456.789-09", {c["cpf_cnpj"] for c in customers})
        self.assertTrue(all("gredito" in c and "debito" in c for c in reply["cartoes"]))
        self.assertTrue(all("detinatario_id" in m for m in reply["mensagens"]))
        self.assertEqual({p["periodicidade"].lower() for p in reply["pagamentos"]},
                         {"mensal", "quinzenal", "semanal"})

    def test_sincronia_sends_changed_records_but_whole_emptied_tables(self):
        full = self.sync("1982-03-15 00:00:00")
        recent = self.sync("2025-06-01 00:00:00")
        self.assertEqual({p["id"] for p in recent["produtos"]}, {2, 7, 14, 21, 61})
        self.assertEqual({c["id"] for c in recent["clientes"]}, {1, 4, 20})
        self.assertEqual([c["id"] for c in recent["cidades"]], [12])
        for table in ("funcionarios", "rotas", "pagamentos", "cartoes", "mensagens"):
            self.assertEqual(recent[table], full[table], table)
        # A record changed exactly at the date asked for is sent; nothing after the last.
        self.assertIn(61, {p["id"] for p in self.sync("2025-06-20 10:00:00")["produtos"]})
        later = self.sync("2030-01-01 00:00:00")
        self.assertEqual((later["produtos"], later["clientes"], later["cidades"]), ([], [], []))
        self.assertIn("erro", self.sync("15/03/1982"))

    def test_installer_date_is_set_by_control_and_by_the_command_line(self):
        self.control("POST", "instalador", data="2026-01-02 03:04:05")
        self.assertEqual(self.sync("2030-01-01 00:00:00")["instalador"], "2026-01-02 03:04:05")
        proc, port = start("--instalador", "2025-12-01 08:00:00")
        try:
            conn = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
            conn.request("POST", f"{API}?{urlencode(DEMO + [('comando', 'sincronia'), ('dt_update', '2030-01-01 00:00:00')])}")
            self.assertEqual(json.loads(conn.getresponse().read())["instalador"],
                             "2025-12-01 08:00:00")
            conn.close()
        finally:
            proc.terminate()
            proc.wait(5)
            proc.stdout.close()

    def test_sale_upload_is_listed_printed_and_reassigned(self):
        body = ('{"produtos":[\r\n{\r\n"prod_id":"7", "prod_quant":"2", "prod_unitario":"5,19" \r\n'
                '},\r\n{}],\r\n"venda_cartao":[\r\n{}]}\r\n')
        status, _, text = self.call("upload_venda", [
            ("venda_numero_venda", "ZX9"), ("venda_vend_nome", "Operador"),
            ("venda_valor_total", "10,38"), ("cliente_nome", "Venda Sem Cliente")],
            method="PUT", body=body.encode(), headers={"Content-Type": "application/json"})
        self.assertEqual(status, 200)
        self.assertIn("Status:OK", text.decode())
        status, _, text = self.call("upload_venda", [("venda_numero_venda", "ZX8")],
                                    method="PUT", body=b"{not json")
        self.assertNotIn("Status:OK", text.decode())

        today = time.strftime("%Y-%m-%d")
        day = [("venda_busca_data1", today + " 00:00:00"), ("venda_busca_data2", today + " 23:59:59")]
        sales = self.call_json("venda_consultas", [("venda_busca", "")] + day)["vendas"]
        uploaded = next(s for s in sales if s["numero_venda"] == "ZX9")
        self.assertEqual(uploaded["valor_total"], 10.38)
        # In time order, so a courier's sales need not be consecutive.
        self.assertEqual([s["dt_venda"] for s in sales], sorted(s["dt_venda"] for s in sales))
        couriers = [s["entregador_id"] for s in sales]
        self.assertNotEqual(couriers, sorted(couriers))
        self.assertEqual(self.call_json("venda_consultas", [("venda_busca", "zx9")] + day)["vendas"],
                         [uploaded])

        receipt = self.call_json("venda_cupom", [("venda_id", str(uploaded["id"])),
                                                 ("cupom_modelo", "1")])["cupom"]
        self.assertIn("Leite Integral 1L", [line["linha"] for line in receipt])
        self.assertTrue(all(len(line["linha"]) <= 40 for line in receipt))

        self.call_json("entregador_update", [("venda_id", str(uploaded["id"])),
                                             ("entregador_id", "4")])
        deliveries = self.call_json("lista_entrega", [("entregador_id", "4")] + day)["retorno"]
        self.assertTrue(any("ZX9" in line["linha"] for line in deliveries))
        report = self.call_json("rel_gerencial", [("funcionario_id", "0"), ("rel_data1", day[0][1]),
                                                  ("rel_data2", day[1][1])])["retorno"]
        self.assertTrue(report and all("linha" in line for line in report))

    def test_supervisor_permission_pix_and_pictures(self):
        boss = [("usuario_email", "gerente@balcona.com.br"), ("usuario_senha", "gerente123")]
        for credentials, granted in ((boss, 1), (DEMO, 0)):
            reply = self.call_json("seguranca", [("permissao_id", "50")], credentials)
            self.assertEqual(reply["permissoes"][0]["permitir"], granted)

        sale = [("numero_venda", "ABC123"), ("valor", "35,5")]
        first = self.call_json("pix", sale)["pix"][0]
        self.assertEqual(first["pix_ok"], "false")
        self.assertIn("540535.50", first["pix_txid"])
        self.assertEqual(self.call_json("pix", sale)["pix"][0]["pix_ok"], "true")

        url = self.call_json("download_imagens", [("tabela", "produtos"), ("tabela_id", "1")])["url"]
        self.assertTrue(url.startswith(f"http://127.0.0.1:{self.port}/"), url)
        status, ctype, data = self.request("GET", url.split(str(self.port), 1)[1])
        self.assertEqual((status, ctype, data[:8]), (200, "image/png", b"\x89PNG\r\n\x1a\n"))
        self.assertEqual(self.call_json("download_imagens", [("tabela", "produtos"),
                                                              ("tabela_id", "50")]), {"url": ""})

    def test_jpeg_pictures_and_the_moved_path(self):
        url = self.call_json("download_imagens", [("tabela", "produtos"), ("tabela_id", "11")])["url"]
        caminho = url.split(str(self.port), 1)[1]
        self.assertEqual(caminho, "/imagens/produtos/11.jpg")
        status, ctype, data = self.request("GET", caminho)
        self.assertEqual((status, ctype), (200, "image/jpeg"))
        self.assertEqual((data[:2], data[-2:]), (b"\xff\xd8", b"\xff\xd9"))
        # Height then width in the frame header.
        sof = data.index(b"\xff\xc0")
        self.assertEqual((data[sof + 5:sof + 7], data[sof + 7:sof + 9]), (b"\x00\xc8", b"\x01\x90"))
        # The extension must be the picture's own, and the moved path only redirects.
        self.assertEqual(self.request("GET", "/imagens/produtos/11.png")[0], 404)
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        try:
            conn.request("GET", "/imagens/mudou/produtos/1.png")
            resp = conn.getresponse()
            self.assertEqual((resp.status, resp.getheader("Location")),
                             (302, "/imagens/produtos/1.png"))
        finally:
            conn.close()

    def test_upload_is_kept_and_answers_as_told(self):
        body = '{"produtos":[\r\n{"prod_id":"7", "prod_quant":"2" },\r\n{}],\r\n"venda_cartao":[\r\n{}]}\r\n'
        put = dict(method="PUT", headers={"Content-Type": "application/json"})
        cases = [
            # order (None: as seeded), reply begins with, tags at the end, stored
            (None, "Status:OK Venda V1 ", "", True),
            ({"modo": "ok"}, "Status:OK Venda V1 ", "<SQL1> update x</SQL1>", True),
            ({"modo": "erro"}, "Status:ERRO Venda V1 recusada", "<SQL2>delete</SQL2>", False),
        ]
        for order, begins, tags, stored in cases:
            with self.subTest(order=order):
                self.control("POST", "reset")
                if order is not None:
                    self.control("POST", "upload_venda", body=tags.encode(), **order)
                _, _, text = self.call("upload_venda", [("venda_numero_venda", "V1")],
                                       body=body.encode(), **put)
                text = text.decode()
                self.assertTrue(text.startswith(begins), text)
                self.assertTrue(text.endswith(tags), text)
                kept = self.control("GET", "uploads")
                self.assertEqual(len(kept), 1)
                self.assertEqual((kept[0]["numero_venda"], kept[0]["body"], kept[0]["aceita"]),
                                 ("V1", body, stored))
                self.assertEqual(kept[0]["produtos"], [{"prod_id": "7", "prod_quant": "2"}])
                self.assertIn(["venda_numero_venda", "V1"], kept[0]["fields"])
                today = time.strftime("%Y-%m-%d")
                sales = self.call_json("venda_consultas", [
                    ("venda_busca", "V1"), ("venda_busca_data1", today + " 00:00:00"),
                    ("venda_busca_data2", today + " 23:59:59")])["vendas"]
                self.assertEqual(len(sales), 1 if stored else 0)
        self.call("upload_venda", [("venda_numero_venda", "V2")], body=b"{broken", **put)
        self.assertEqual([(u["numero_venda"], u["produtos"]) for u in self.control("GET", "uploads")],
                         [("V1", [{"prod_id": "7", "prod_quant": "2"}]), ("V2", None)])

    def test_pix_charge_paid_after_n_requests_a_bare_key_or_a_refusal(self):
        sale = [("numero_venda", "ABC123"), ("valor", "10")]
        self.control("POST", "pix", modo="cobranca", pago_no="3")
        self.assertEqual([self.call_json("pix", sale)["pix"][0]["pix_ok"] for _ in range(4)],
                         ["false", "false", "true", "true"])
        self.control("POST", "pix", modo="chave")
        key = self.call_json("pix", sale)["pix"][0]
        self.assertEqual((key["pix_chave"], key["pix_txid"], key["pix_venc"], key["pix_ok"]),
                         ("11222333000181", "", "", "false"))
        self.control("POST", "pix", modo="erro")
        self.assertNotIn("pix", self.call_json("pix", sale))
        status, _, _ = self.request("POST", "/__sim/pix?modo=talvez")
        self.assertEqual(status, 400)
        self.control("POST", "reset")
        self.assertEqual(self.call_json("pix", sale)["pix"][0]["pix_ok"], "false")
        self.assertEqual(self.call_json("pix", sale)["pix"][0]["pix_ok"], "true")

    # --- recording

    def test_requests_are_recorded_in_order_with_decoded_fields(self):
        self.request("POST", f"{API}?usuario_email=demo%40balcona.com.br&usuario_senha=a+b%26c"
                             "&comando=login&horario=01",
                     headers={"Accept": "application/json, text/plain; q=0.9, text/html;q=0.8,"})
        self.call("upload_venda", method="PUT", body="{\"produtos\":[{}],\"venda_cartao\":[{}]}",
                  headers={"Content-Type": "application/json"})
        log = self.control("GET", "requests")
        self.assertEqual([r["method"] for r in log], ["POST", "PUT"])
        login = log[0]
        self.assertEqual(login["path"], API)
        self.assertEqual(login["query"], "usuario_email=demo%40balcona.com.br&usuario_senha=a+b%26c"
                                         "&comando=login&horario=01")
        self.assertEqual(login["fields"], [["usuario_email", "demo@balcona.com.br"],
                                           ["usuario_senha", "a b&c"], ["comando", "login"],
                                           ["horario", "01"]])
        self.assertEqual(login["headers"]["Accept"],
                         "application/json, text/plain; q=0.9, text/html;q=0.8,")
        self.assertEqual(login["body"], "")
        self.assertEqual(log[1]["body"], "{\"produtos\":[{}],\"venda_cartao\":[{}]}")
        self.assertEqual([r["method"] for r in self.control("GET", "requests", comando="upload_venda")],
                         ["PUT"])

    # --- faults

    def test_each_fault_mode_damages_only_its_command(self):
        login = urlencode(DEMO + [("comando", "login")])
        for modo, extra in (("500", {}), ("html404", {}), ("json", {}), ("truncado", {}),
                            ("recusar", {}), ("sem_chave", {"chave": "empresas.venda_altvalor"}),
                            ("lento", {"segundos": "0.6"}), ("grande", {"megas": "2"})):
            with self.subTest(modo=modo):
                self.control("POST", "reset")
                self.control("POST", "fail", comando="login", modo=modo, **extra)
                self.assertIn("datahora", self.sync("2030-01-01 00:00:00"))
                conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
                began = time.monotonic()
                conn.request("POST", f"{API}?{login}")
                if modo == "recusar":
                    self.assertRaises((http.client.RemoteDisconnected, ConnectionError),
                                      conn.getresponse)
                    conn.close()
                    continue
                resp = conn.getresponse()
                if modo == "truncado":
                    self.assertRaises(http.client.IncompleteRead, resp.read)
                    conn.close()
                    continue
                body = resp.read()
                conn.close()
                status, ctype = resp.status, resp.getheader("Content-Type")
                if modo == "500":
                    self.assertEqual(status, 500)
                    self.assertIn("empresas", json.loads(body))
                elif modo == "html404":
                    self.assertEqual((status, ctype), (404, "text/html; charset=utf-8"))
                    self.assertIn(b"<html>", body)
                elif modo == "json":
                    self.assertEqual(status, 200)
                    self.assertRaises(ValueError, json.loads, body)
                elif modo == "sem_chave":
                    company = json.loads(body)["empresas"][0]
                    self.assertNotIn("venda_altvalor", company)
                    self.assertIn("fantasia", company)
                elif modo == "lento":
                    self.assertGreaterEqual(time.monotonic() - began, 0.6)
                    self.assertIn("empresas", json.loads(body))
                elif modo == "grande":
                    self.assertGreaterEqual(len(body), 2 * 1024 * 1024 - 2048)
                    self.assertLessEqual(len(body), 2 * 1024 * 1024)
                    self.assertIn("empresas", json.loads(body))

    def test_missing_key_paths_reach_one_element_or_a_text_reply(self):
        self.control("POST", "fail", comando="sincronia", modo="sem_chave", chave="produtos.0.dt_promocao")
        products = self.sync("1982-03-15 00:00:00")["produtos"]
        self.assertEqual([("dt_promocao" in p) for p in products[:2]], [False, True])
        self.control("POST", "fail", comando="upload_venda", modo="sem_chave", chave="Status:OK")
        _, _, text = self.call("upload_venda", method="PUT", body=b'{"produtos":[{}],"venda_cartao":[{}]}')
        self.assertNotIn(b"Status:OK", text)

    def test_canned_reply_and_reset(self):
        self.control("POST", "responder", body=b'{"vendas":[{"id":"12"}]}', comando="venda_consultas",
                     status="203", tipo="application/json")
        self.control("POST", "fail", comando="*", modo="500")
        self.assertEqual(self.call("venda_consultas"),
                         (203, "application/json", b'{"vendas":[{"id":"12"}]}'))
        self.assertEqual(self.call("login")[0], 500)
        self.control("POST", "fail", comando="*", modo="nenhum")
        self.assertEqual(self.call("login")[0], 200)

        self.call("upload_venda", [("venda_numero_venda", "RESET1")], method="PUT",
                  body=b'{"produtos":[{}],"venda_cartao":[{}]}')
        self.control("POST", "fail", comando="login", modo="recusar")
        self.control("POST", "reset")
        self.assertEqual(self.control("GET", "requests"), [])
        self.assertEqual(self.call("login")[0], 200)
        self.assertEqual(self.call_json("venda_consultas", [("venda_busca", "RESET1")])["vendas"], [])
        self.assertEqual([r["fields"][2][1] for r in self.control("GET", "requests")],
                         ["login", "venda_consultas"])

    def test_postal_code_service(self):
        status, _, body = self.request("GET", "/ws/13015001/json")
        self.assertEqual(status, 200)
        self.assertEqual(json.loads(body)["localidade"], "Campinas")
        self.assertEqual(json.loads(self.request("GET", "/ws/99999999/json")[2]), {"erro": True})
        self.assertEqual(self.request("GET", "/ws/1301500/json")[0], 400)

    def test_purchase_order_page_of_the_portal(self):
        status, kind, page = self.request(
            "GET", "/app/impressao/?relatorio=vendas_pedido001&id=12&buttonvisible=1"
                   "&documento=PDV<12>&relkey=x&key=abc")
        self.assertEqual((status, kind), (200, "text/html; charset=utf-8"))
        self.assertIn(b"PDV&lt;12&gt;", page)
        self.assertIn(b"window.print()", page)
        for query in ("relatorio=outro&key=abc", "relatorio=vendas_pedido001"):
            self.assertEqual(self.request("GET", "/app/impressao/?" + query)[0], 404)

    def test_update_site_version_by_default_command_line_and_canned_reply(self):
        self.assertEqual(self.request("GET", "/downloads/web_versao.php")[::2],
                         (200, b"20250416\r\n"))
        self.control("POST", "responder", body=b" abc ", comando="versao", tipo="text/plain")
        self.assertEqual(self.request("GET", "/downloads/web_versao.php")[2], b" abc ")
        self.control("POST", "reset")
        self.assertEqual(self.request("GET", "/downloads/web_versao.php")[2], b"20250416\r\n")
        self.assertEqual(self.request("POST", "/downloads/web_versao.php")[0], 404)
        proc, port = start("--versao", "20250501")
        try:
            conn = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
            conn.request("GET", "/downloads/web_versao.php")
            self.assertEqual(conn.getresponse().read(), b"20250501\r\n")
            conn.close()
        finally:
            proc.terminate()
            proc.wait(5)
            proc.stdout.close()

    def test_control_refuses_bad_orders(self):
        for path in ("fail?comando=login&modo=quebrar", "fail?modo=500",
                     "fail?comando=login&modo=sem_chave", "fail?comando=login&modo=lento"):
            with self.subTest(path=path):
                self.assertEqual(self.request("POST", f"/__sim/{path}")[0], 400)
        self.assertEqual(self.call("login")[0], 200)


class Lifecycle(unittest.TestCase):
    def test_stops_cleanly_on_sigterm(self):
        proc, port = start()
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=5):
                pass
            proc.send_signal(signal.SIGTERM)
            self.assertEqual(proc.wait(5), 0)
            self.assertEqual(proc.stdout.read(), "")
        finally:
            if proc.poll() is None:
                proc.kill()
            proc.stdout.close()


if __name__ == "__main__":
    unittest.main()
