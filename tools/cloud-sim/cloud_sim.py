#!/usr/bin/env python3
"""A simulator of the shop's cloud account, for the tests and the demo.

Serves the terminal's API ("/app/api26/api.php") on 127.0.0.1 with a seeded demo shop,
records every request and can be told to fail. Standard library only.

    cloud_sim.py [--port N] [--quiet] [--instalador "YYYY-MM-DD HH:MM:SS"] [--versao YYYYMMDD]

Prints "PORT <n>" on stdout once it listens (N = 0 picks a free port) and serves until
it is stopped. The control calls live under "/__sim/" (README.md beside this file).
"""
import argparse
import copy
import datetime
import html
import json
import signal
import struct
import sys
import threading
import time
import zlib
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qsl, urlsplit

API_PATH = "/app/api26/api.php"
CONTROL_PREFIX = "/__sim/"
IMAGES_PREFIX = "/imagens/"
CEP_PREFIX = "/ws/"
VERSION_PATH = "/downloads/web_versao.php"
ORDER_PATH = "/app/impressao/"
# The version the update site announces unless told otherwise: the terminal's own.
VERSAO_PADRAO = "20250416"
JSON_TYPE = "application/json; charset=utf-8"
HTML_TYPE = "text/html; charset=utf-8"
MOMENT_FORMAT = "%Y-%m-%d %H:%M:%S"

# Moments at which the seeded records last changed: everything at BASE, a few records
# later, so that a synchronisation from a date between the two gets only those.
BASE = "2024-01-15 08:00:00"

FAULT_MODES = ("500", "html404", "json", "sem_chave", "lento", "truncado", "grande", "recusar")


# ---------------------------------------------------------------------------------------
# Seed data

def ean13(first12):
    total = sum(int(c) * (1 if i % 2 == 0 else 3) for i, c in enumerate(first12))
    return first12 + str((10 - total % 10) % 10)


def cpf(first9):
    digits = [int(c) for c in first9]
    for weight in (10, 11):
        rest = sum(d * (weight - i) for i, d in enumerate(digits)) * 10 % 11
        digits.append(0 if rest == 10 else rest)
    s = "".join(map(str, digits))
    return f"{s[0:3]}.{s[3:6]}.{s[6:9]}-{s[9:11]}"


def cnpj(first12):
    digits = [int(c) for c in first12]
    for weights in ((5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2), (6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2)):
        rest = sum(d * w for d, w in zip(digits, weights)) % 11
        digits.append(0 if rest < 2 else 11 - rest)
    s = "".join(map(str, digits))
    return f"{s[0:2]}.{s[2:5]}.{s[5:8]}/{s[8:12]}-{s[12:14]}"


def decimal(value, places=2):
    # The account's database hands its decimal columns over as texts.
    return f"{value:.{places}f}"


COMPANY = {
    "id": 1,
    "fantasia": "Mercadinho São José",
    "uf": "SP",
    "cidade": "Campinas",
    "endereco": "Rua das Flores",
    "numero": "120",
    "bairro": "Centro",
    "fone1": "(19)3333-4444",
    "cnpj": "11.222.333/0001-81",
    "site": "www.mercadinhosaojose.com.br",
    "email": "contato@mercadinhosaojose.com.br",
    "instagram": "https://instagram.com/mercadinhosaojose",
    "facebook": "",
    "tiktok": "",
    "twitter": "",
    "youtube": "",
    "conf_desc_limit": 10,
    "venda_altvalor": 1,
}

USERS = [
    # e-mail, password, name, employee, "permitir" of the permission query
    ("demo@balcona.com.br", "demo123", "Operador Demonstração", 1, 0),
    ("gerente@balcona.com.br", "gerente123", "Marina Gerente", 3, 1),
]

GROUPS = {"Mercearia": 1, "Laticínios": 2, "Padaria": 3, "Limpeza": 4, "Higiene": 5,
          "Bebidas": 6, "Frios": 7, "Hortifruti": 8, "Açougue": 9}

# id, name, unit, price, stock, group, brand. Weighed goods ("KG") carry the code part of
# the scale label.
PRODUCTS = [
    (1, "Arroz Branco Tipo 1 5kg", "UN", 27.90, 40, "Mercearia", "Tio Jorge"),
    (2, "Feijão Carioca 1kg", "UN", 8.49, 55, "Mercearia", "Camponês"),
    (3, "Açúcar Refinado 1kg", "UN", 4.99, 80, "Mercearia", "Doçura"),
    (4, "Café Torrado e Moído 500g", "UN", 15.00, 30, "Mercearia", "Serra Alta"),
    (5, "Óleo de Soja 900ml", "UN", 7.29, 60, "Mercearia", "Girassol"),
    (6, "Macarrão Espaguete 500g", "UN", 4.39, 70, "Mercearia", "Nonna"),
    (7, "Leite Integral 1L", "UN", 5.19, 120, "Laticínios", "Fazenda Boa"),
    (8, "Manteiga com Sal 200g", "UN", 11.90, 0, "Laticínios", "Fazenda Boa"),
    (9, "Pão de Forma Integral", "UN", 9.99, 15, "Padaria", "Trigal"),
    (10, "Sabão em Pó 1kg", "UN", 13.49, 25, "Limpeza", "Brilho"),
    (11, "Detergente Neutro 500ml", "UN", 2.59, 90, "Limpeza", "Brilho"),
    (12, "Papel Higiênico 12 rolos", "UN", 19.90, 18, "Higiene", "Macio"),
    (13, "Creme Dental 90g", "UN", 4.79, 45, "Higiene", "Sorriso"),
    (14, "Refrigerante Guaraná 2L", "UN", 8.99, 36, "Bebidas", "Amazônia"),
    (15, "Água Mineral 1,5L", "UN", 2.99, 100, "Bebidas", "Fonte Clara"),
    (16, "Suco de Laranja 1L", "UN", 7.49, 22, "Bebidas", "Pomar"),
    (17, "Biscoito Recheado Chocolate", "UN", 3.29, 64, "Mercearia", "Delícia"),
    (18, "Farinha de Mandioca 500g", "UN", 5.59, 33, "Mercearia", "Raiz"),
    (19, "Sardinha em Óleo 125g", "UN", 6.39, 48, "Mercearia", "Mar Azul"),
    (20, "Molho de Tomate 340g", "UN", 3.19, 75, "Mercearia", "Nonna"),
    (21, "Queijo Mussarela KG", "KG", 49.90, 12, "Frios", "Laticínio Sul"),
    (22, "Presunto Cozido KG", "KG", 39.90, 8, "Frios", "Laticínio Sul"),
    (23, "Banana Prata KG", "KG", 6.99, 40, "Hortifruti", "Nenhuma"),
    (24, "Tomate Italiano KG", "KG", 8.49, 25, "Hortifruti", "Nenhuma"),
    (25, "Carne Moída Patinho KG", "KG", 44.90, 10, "Açougue", "Nenhuma"),
    (26, "Pão Francês KG", "KG", 16.90, 20, "Padaria", "Trigal"),
    (27, "Linguiça Toscana KG", "KG", 24.90, 15, "Açougue", "Nenhuma"),
    (28, "Alcatra KG", "KG", 54.90, 9, "Açougue", "Nenhuma"),
    (29, "Maçã Gala KG", "KG", 11.90, 30, "Hortifruti", "Nenhuma"),
    (30, "Batata Inglesa KG", "KG", 5.49, 50, "Hortifruti", "Nenhuma"),
    (31, "Cebola KG", "KG", 4.99, 35, "Hortifruti", "Nenhuma"),
    (32, "Café Solúvel 200g", "UN", 21.90, 14, "Mercearia", "Serra Alta"),
    (33, "Chá Mate Tostado 250g", "UN", 8.90, 20, "Mercearia", "Campo Verde"),
    (34, "Achocolatado em Pó 400g", "UN", 9.49, 26, "Mercearia", "Delícia"),
    (35, "Leite Condensado 395g", "UN", 6.99, 40, "Laticínios", "Fazenda Boa"),
    (36, "Creme de Leite 200g", "UN", 3.99, 38, "Laticínios", "Fazenda Boa"),
    (37, "Iogurte Natural 170g", "UN", 2.89, 24, "Laticínios", "Fazenda Boa"),
    (38, "Requeijão Cremoso 200g", "UN", 8.79, 16, "Laticínios", "Laticínio Sul"),
    (39, "Ovos Brancos Dúzia", "UN", 12.90, 30, "Mercearia", "Granja Feliz"),
    (40, "Açúcar Cristal 5kg", "UN", 22.90, 20, "Mercearia", "Doçura"),
    (41, "Sal Refinado 1kg", "UN", 2.49, 60, "Mercearia", "Mar Azul"),
    (42, "Vinagre de Álcool 750ml", "UN", 3.49, 30, "Mercearia", "Nonna"),
    (43, "Azeite Extra Virgem 500ml", "UN", 34.90, 12, "Mercearia", "Oliveira"),
    (44, "Milho Verde em Lata 200g", "UN", 4.29, 44, "Mercearia", "Campo Verde"),
    (45, "Ervilha em Lata 200g", "UN", 4.19, 40, "Mercearia", "Campo Verde"),
    (46, "Feijão Preto 1kg", "UN", 8.99, 35, "Mercearia", "Camponês"),
    (47, "Arroz Integral 1kg", "UN", 7.49, 22, "Mercearia", "Tio Jorge"),
    (48, "Fubá Mimoso 1kg", "UN", 4.59, 28, "Mercearia", "Raiz"),
    (49, "Farinha de Trigo 1kg", "UN", 5.29, 45, "Mercearia", "Trigal"),
    (50, "Bolacha Água e Sal 200g", "UN", 3.79, 50, "Mercearia", "Delícia"),
    (51, "Pão de Queijo Congelado 400g", "UN", 14.90, 18, "Padaria", "Trigal"),
    (52, "Cerveja Pilsen Lata 350ml", "UN", 3.99, 144, "Bebidas", "Serra Gelada"),
    (53, "Refrigerante Cola 2L", "UN", 9.49, 40, "Bebidas", "Amazônia"),
    (54, "Água com Gás 500ml", "UN", 2.49, 60, "Bebidas", "Fonte Clara"),
    (55, "Esponja de Louça 3 unidades", "UN", 4.99, 35, "Limpeza", "Brilho"),
    (56, "Água Sanitária 1L", "UN", 3.29, 48, "Limpeza", "Brilho"),
    (57, "Desinfetante Lavanda 2L", "UN", 9.90, 20, "Limpeza", "Brilho"),
    (58, "Sabonete Glicerina 90g", "UN", 2.19, 70, "Higiene", "Macio"),
    (59, "Xampu Camomila 350ml", "UN", 12.90, 15, "Higiene", "Macio"),
    (60, "Escova Dental Macia", "UN", 5.99, 33, "Higiene", "Sorriso"),
    (61, "Biscoito Wafer Morango", "UN", 2.99, 0, "Mercearia", "Delícia"),
]

# Products changed after BASE: price updates, and product 61 taken out of the catalogue.
PRODUCT_CHANGES = {2: "2025-06-10 14:30:00", 7: "2025-06-12 09:00:00",
                   14: "2025-06-15 16:45:00", 21: "2025-06-10 14:30:00",
                   61: "2025-06-20 10:00:00"}

# Products with a picture: id -> (width, height); the company has its logo.
PICTURES = {("produtos", i): ((400, 200) if i % 2 else (200, 400)) for i in range(1, 11)}
PICTURES[("empresas", 1)] = (300, 300)
# Pictures the account stores as JPEG (the rest are PNG).
JPEG_PICTURES = {("produtos", 11): (400, 200), ("produtos", 12): (160, 240)}
PICTURES.update(JPEG_PICTURES)
# A picture path answered by a redirect to the picture itself, which the terminal must
# not follow: "/imagens/mudou/<tabela>/<id>.<ext>".
MOVED_PREFIX = IMAGES_PREFIX + "mudou/"


def product_barcode(pid, unit):
    return f"20000{pid:02d}" if unit == "KG" else ean13(f"789100010{pid:03d}")


def seed_products():
    rows = []
    for pid, name, unit, price, stock, group, brand in PRODUCTS:
        row = {
            "id": pid,
            "ativo": 0 if pid == 61 else 1,
            "dt_cadastro": f"2023-{(pid % 12) + 1:02d}-{(pid % 27) + 1:02d} 10:{pid % 60:02d}:00",
            "grupo_id": GROUPS[group],
            "grupo": group,
            "produto": name,
            "tamanho": "Padrao",
            "marca": brand,
            "cbarra": product_barcode(pid, unit),
            "custo": decimal(round(price * 0.7, 2)),
            "lucro": decimal(30),
            "venda": decimal(price),
            "desconto": decimal(0),
            "promocao": decimal(0),
            "promocao_min": decimal(0),
            "dt_promocao": None,
            "medida": unit,
            "estoque": decimal(stock, 3),
            "_alterado": PRODUCT_CHANGES.get(pid, BASE),
        }
        rows.append(row)
    by_id = {r["id"]: r for r in rows}
    # Coffee: 10 % off from 3 units, a promotion that has started.
    by_id[4].update(promocao=decimal(10), promocao_min=decimal(3), dt_promocao="2024-01-01 00:00:00")
    # Instant coffee: a promotion that starts in the future, so the catalogue price holds.
    by_id[32].update(promocao=decimal(15), promocao_min=decimal(2), dt_promocao="2099-01-01 00:00:00")
    # One product without "ativo", which the terminal stores as active.
    del by_id[60]["ativo"]
    return rows


CITIES = [
    (1, "SP", "Campinas"), (2, "SP", "Valinhos"), (3, "SP", "Vinhedo"), (4, "SP", "Sumaré"),
    (5, "SP", "Hortolândia"), (6, "SP", "Paulínia"), (7, "SP", "Indaiatuba"),
    (8, "SP", "São Paulo"), (9, "SP", "Jundiaí"), (10, "MG", "Poços de Caldas"),
    (11, "RJ", "Rio de Janeiro"), (12, "SP", "Americana"),
]
CITY_CHANGES = {12: "2025-06-05 10:00:00"}

ROUTES = [(1, "Centro"), (2, "Cambuí"), (3, "Taquaral"), (4, "Barão Geraldo"), (5, "Zona Rural")]

# id, code, type, name, nickname, document, street, remark, number, district, city,
# postal code, phone, route, credit, limit, remaining
CUSTOMERS = [
    (1, "C0001", "F", "Maria Aparecida da Silva", "Cida", "123.456.789-09", "Rua Barão de Jaguara", "Apto 12", "1010", "Centro", "Campinas", "13015-001", "(19) 99876-5432", 1, "Concedido", 500, 100),
    (2, "C0002", "F", "José Carlos Pereira", "Zé Carlos", cpf("529982247"), "Avenida Norte-Sul", "", "455", "Cambuí", "Campinas", "13025-320", "(19) 98123-4567", 2, "Concedido", 1000, 800),
    (3, "C0003", "F", "Ana Beatriz Souza", "Bia", cpf("111444777"), "Rua Coronel Quirino", "Casa dos fundos", "88", "Cambuí", "Campinas", "13025-000", "(19) 99111-2233", 2, "Avaliacao", 0, 0),
    (4, "C0004", "F", "João Batista Oliveira", "João", cpf("390533447"), "Rua Dr. Quirino", "", "1500", "Centro", "Campinas", "13015-082", "(19) 99222-3344", 1, "Negativado", 300, 0),
    (5, "C0005", "F", "Francisca Lima", "Chica", cpf("714602380"), "Rua Heitor Penteado", "", "32", "Taquaral", "Campinas", "13075-460", "(19) 99333-4455", 3, "Concedido", 200, 200),
    (6, "C0006", "F", "Antônio Ferreira", "Toninho", cpf("268154039"), "Avenida Orosimbo Maia", "Bloco B", "2000", "Centro", "Campinas", "13023-002", "(19) 99444-5566", 1, "Avaliacao", 0, 0),
    (7, "C0007", "J", "Padaria Pão Dourado Ltda", "Pão Dourado", cnpj("453210980001"), "Rua Maria Monteiro", "", "700", "Cambuí", "Campinas", "13025-151", "(19) 3251-7788", 2, "Concedido", 2000, 1500),
    (8, "C0008", "F", "Luiz Gonçalves", "Luizinho", cpf("835704612"), "Rua Sacramento", "", "15", "Centro", "Campinas", "13010-210", "(19) 99555-6677", 1, "Concedido", 150, 150),
    (9, "C0009", "F", "Raimunda Costa", "Dona Raimunda", cpf("602917354"), "Rua Luzitana", "", "940", "Centro", "Campinas", "13015-121", "(19) 99666-7788", 1, "Concedido", 100, 100),
    (10, "C0010", "F", "Sebastião Rodrigues", "Tião", cpf("478209163"), "Estrada da Rhodia", "Sítio Boa Vista", "km 3", "Barão Geraldo", "Campinas", "13085-000", "(19) 99777-8899", 5, "Negativado", 0, 0),
    (11, "C0011", "F", "Conceição Alves", "Ção", cpf("917346205"), "Rua Albino J. B. de Oliveira", "", "1200", "Barão Geraldo", "Campinas", "13084-008", "(19) 99888-9900", 4, "Concedido", 400, 250),
    (12, "C0012", "F", "Paulo Henrique Martins", "PH", cpf("254810936"), "Avenida Brasil", "", "1800", "Jardim Guanabara", "Campinas", "13073-001", "(19) 99100-2030", 3, "Concedido", 800, 720.5),
    (13, "C0013", "F", "Márcia Ribeiro", "Márcia", cpf("736019428"), "Rua Dom Pedro II", "", "210", "Centro", "Valinhos", "13270-000", "(19) 99200-3040", 5, "Avaliacao", 0, 0),
    (14, "C0014", "J", "Restaurante Sabor Caseiro ME", "Sabor Caseiro", cnpj("287654320001"), "Avenida Independência", "", "3100", "Vila Olímpia", "Vinhedo", "13280-000", "(19) 3876-1122", 5, "Concedido", 3000, 2750),
    (15, "C0015", "F", "Cláudia Fernandes", "Cláudia", cpf("381927640"), "Rua Rebouças", "", "65", "Centro", "Sumaré", "13170-000", "(19) 99300-4050", 5, "Concedido", 250, 40),
    (16, "C0016", "F", "Pedro Araújo", "Pedrão", cpf("659230178"), "Rua José Paulino", "", "1400", "Centro", "Campinas", "13013-001", "(19) 99400-5060", 1, "Negativado", 500, 0),
    (17, "C0017", "F", "Lúcia Carvalho", "Lu", cpf("147258369"), "Avenida Júlio de Mesquita", "", "600", "Cambuí", "Campinas", "13025-060", "(19) 99500-6070", 2, "Avaliacao", 0, 0),
    (18, "C0018", "F", "Marcos Vinícius Rocha", "Marquinhos", cpf("963852741"), "Rua Hermantino Coelho", "Apto 31", "501", "Mansões Santo Antônio", "Campinas", "13087-500", "(19) 99600-7080", 3, "Concedido", 600, 600),
    (19, "C0019", "F", "Tereza Cristina Gomes", "Tereza", cpf("321654987"), "Rua Uruguai", "", "77", "Taquaral", "Campinas", "13076-020", "(19) 99700-8090", 3, "Concedido", 350, 120),
    (20, "C0020", "J", "Mercearia Bom Preço EIRELI", "Bom Preço", cnpj("196385270001"), "Rua Tiradentes", "", "330", "Centro", "Hortolândia", "13183-000", "(19) 3809-5566", 5, "Avaliacao", 0, 0),
]
# The postal-code service: digits -> street, remark, district, city, state.
POSTAL_CODES = {
    "13015001": ("Rua Barão de Jaguara", "até 1099 - lado ímpar", "Centro", "Campinas", "SP"),
    "13270000": ("", "", "", "Valinhos", "SP"),
    "01310100": ("Avenida Paulista", "de 1 a 609 - lado ímpar", "Bela Vista", "São Paulo", "SP"),
    "20040002": ("Rua da Assembleia", "", "Centro", "Rio de Janeiro", "RJ"),
}

CUSTOMER_CHANGES = {1: "2025-06-11 11:00:00", 4: "2025-06-18 08:30:00", 20: "2025-06-21 15:00:00"}

# id, name: the first two as in the offline demo; 2 and 4 deliver.
SELLERS = [(1, "Operador Demonstração"), (2, "Carlos Entregas"), (3, "Marina Gerente"),
           (4, "Paulo Entregas"), (5, "Juliana Caixa")]

# id, plan, type, instalments, grace days, grace may change, period, surcharge
PLANS = [
    (1, "Crediário 1+1", "Crediário", "2", "30", "1", "mensal", "0"),
    (2, "Crediário 3x", "Crediário", "3", "30", "1", "mensal", "2.5"),
    (3, "Quinzenal 4x", "Crediário", "4", "15", "0", "Quinzenal", "1.5"),
    (4, "Semanal 4x", "Crediário", "4", "7", "0", "Semanal", "0"),
    (5, "Cheque 30/60", "Cheque", "2", "30", "0", "MENSAL", "3"),
]

# id, operator, credit, debit
CARDS = [(1, "Visa", 1, 1), (2, "Mastercard", 1, 1), (3, "Elo", 1, 1), (4, "Hipercard", 1, 0),
         (5, "Maestro", 0, 1)]

MESSAGES = [
    (1, "AVISO", "2025-06-02 08:00:00", "Inventário de estoque no sábado às 8h. Não abrir o caixa antes das 10h.", 3, "Marina Gerente", 0),
    (2, "LEMBRETE", "2025-06-09 17:30:00", "Conferir a validade dos frios antes de abrir a loja.", 3, "Marina Gerente", 1),
]


def seed_customers():
    routes = dict(ROUTES)
    rows = []
    for (cid, cod, kind, name, nick, doc, street, remark, number, district, city, cep, phone,
         route, credit, limit, remaining) in CUSTOMERS:
        rows.append({
            "id": cid, "cod": cod, "ativo": 1, "tipo": kind, "nome": name, "apelido": nick,
            "cpf_cnpj": doc, "endereco": street, "endereco_obs": remark, "numero": number,
            "bairro": district, "cidade": city, "estado": "SP", "fone": phone,
            "grupo": routes[route], "grupo_id": str(route), "cep": cep,
            "dt_ultatend": f"2025-05-{(cid % 28) + 1:02d} 15:{cid % 60:02d}:00",
            "ultatend": cid * 3 % 17, "atend_tipo": 7,
            "gps_latitude": decimal(-22.9056 - cid / 1000, 6),
            "gps_longitude": decimal(-47.0608 + cid / 1000, 6),
            "credito": credit, "cred_limite": decimal(limit), "cred_restante": decimal(remaining),
            "_alterado": CUSTOMER_CHANGES.get(cid, BASE),
        })
    by_id = {r["id"]: r for r in rows}
    # Customer 8 comes without "ativo" (stored as 0 and removed by the terminal), 9 inactive.
    del by_id[8]["ativo"]
    by_id[9]["ativo"] = 0
    return rows


def seed_sales(today):
    """Sales the account holds for the day the simulator started (or was reset)."""
    day = today.strftime("%Y-%m-%d")
    sales = [
        # id, number, time, customer, document, seller, courier, billed, items, payment
        (1001, "A1B2C3D4E5", "09:12:30", "Maria Aparecida da Silva", "123.456.789-09", 1, 0, 1,
         [(1, 1, 27.90), (4, 3, 13.50), (7, 2, 5.19)], "Dinheiro"),
        (1002, "F6G7H8J9K0", "10:47:05", "Padaria Pão Dourado Ltda", CUSTOMERS[6][5], 1, 2, 0,
         [(26, 2.5, 16.90), (21, 0.8, 49.90)], "Cartão"),
        (1003, "L1M2N3P4Q5", "11:30:40", "José Carlos Pereira", CUSTOMERS[1][5], 5, 2, 0,
         [(14, 2, 8.99), (52, 12, 3.99)], "PIX"),
        (1004, "R6S7T8U9V0", "14:05:00", "Conceição Alves", CUSTOMERS[10][5], 5, 4, 1,
         [(2, 2, 8.49), (3, 1, 4.99)], "Prazo"),
        # Courier 2 again after courier 4: the list gives each run its own header.
        (1005, "W1X2Y3Z4A5", "15:20:10", "", "", 1, 2, 0,
         [(1, 1, 27.90)], "Dinheiro"),
    ]
    sellers = dict(SELLERS)
    rows = []
    for sid, number, hour, customer, doc, seller, courier, billed, items, payment in sales:
        rows.append({
            "id": sid, "numero_venda": number, "dt_venda": f"{day} {hour}",
            "clie_nome": customer, "clie_cpf": doc, "vendedor_id": seller,
            "vendedor_nome": sellers[seller], "entregador_id": courier,
            "entregador_nome": sellers.get(courier, ""), "faturamento_id": billed,
            "itens": [{"prod_id": p, "quant": q, "unitario": u} for p, q, u in items],
            "pagamento": payment,
            "valor_total": round(sum(q * u for _, q, u in items), 2),
        })
    return rows


class Conta:
    """The state of the cloud account: seeded records, faults, recorded requests."""

    def __init__(self, instalador="", versao=VERSAO_PADRAO):
        self.instalador_inicial = instalador
        self.versao_inicial = versao
        self.lock = threading.Lock()
        self.reset()

    def reset(self):
        self.empresa = copy.deepcopy(COMPANY)
        self.usuarios = [{"email": e, "senha": s, "usuario": n, "funcionario_id": f, "permitir": p}
                         for e, s, n, f, p in USERS]
        self.produtos = seed_products()
        self.clientes = seed_customers()
        self.funcionarios = [{"id": i, "nome": n, "ativo": 1} for i, n in SELLERS]
        self.cidades = [{"id": i, "uf": uf, "cidade": c, "_alterado": CITY_CHANGES.get(i, BASE)}
                        for i, uf, c in CITIES]
        self.rotas = [{"id": i, "rota": r} for i, r in ROUTES]
        self.pagamentos = [{"id": i, "plano": p, "tipo": t, "parcelas": n, "carencia": c,
                            "alt_carencia": a, "periodicidade": per, "acrecimo": acr}
                           for i, p, t, n, c, a, per, acr in PLANS]
        self.cartoes = [{"id": i, "ativo": 1, "operadora": o, "gredito": c, "debito": d}
                        for i, o, c, d in CARDS]
        self.mensagens = [{"id": i, "tipo": t, "dt_update": dt, "msg": m, "user_id": u,
                           "user_name": un, "detinatario_id": dest}
                          for i, t, dt, m, u, un, dest in MESSAGES]
        self.vendas = seed_sales(datetime.date.today())
        self.pix = {}  # (sale number, amount) -> times asked
        # How "pix" answers: a charge paid from request `pago_no` on, a key without a
        # charge ("chave"), or the account's refusal ("erro").
        self.pix_roteiro = {"modo": "cobranca", "pago_no": 2}
        self.uploads = []  # every "upload_venda" received, for the tests to read back
        # How "upload_venda" answers: accepted or refused, with `anexo` after the text.
        self.upload_roteiro = {"aceitar": True, "anexo": ""}
        self.instalador = self.instalador_inicial
        self.versao = self.versao_inicial
        self.roteiro = {}  # comando (or "*") -> fault or canned reply
        self.pedidos = []

    def autenticar(self, email, senha):
        # The account's database compares e-mails without case and trailing blanks.
        email = (email or "").strip().casefold()
        for u in self.usuarios:
            if u["email"].casefold() == email and u["senha"] == senha:
                return u
        return None


# ---------------------------------------------------------------------------------------
# Replies

class Resposta:
    """A command's reply: a JSON value (`dados`) or a text (`texto`)."""

    def __init__(self, dados=None, texto=None, status=200, tipo=JSON_TYPE):
        self.dados, self.texto, self.status, self.tipo = dados, texto, status, tipo

    def corpo(self):
        if self.texto is not None:
            return self.texto.encode("utf-8")
        return json.dumps(self.dados, ensure_ascii=False, separators=(",", ":")).encode("utf-8")


def publico(registro):
    """A record as the account sends it: without the simulator's own keys."""
    return {k: v for k, v in registro.items() if not k.startswith("_")}


def agora():
    return datetime.datetime.now().strftime(MOMENT_FORMAT)


def erro(texto):
    return Resposta({"erro": texto})


def numero_br(texto):
    """A number as the terminal writes it: "12,5", "35", "1.234,5" or "2.5"."""
    t = (texto or "").strip()
    if "," in t:
        t = t.replace(".", "").replace(",", ".")
    try:
        return float(t) if t else 0.0
    except ValueError:
        return 0.0


def moeda(valor):
    inteiro, _, centavos = f"{valor:,.2f}".partition(".")
    return inteiro.replace(",", ".") + "," + centavos


def linha_dupla(esquerda, direita, largura=40):
    return esquerda[: max(0, largura - len(direita) - 1)].ljust(largura - len(direita)) + direita


def linhas(chave, textos):
    return Resposta({chave: [{"linha": t} for t in textos]})


def cabecalho(conta):
    e = conta.empresa
    return [e["fantasia"].upper().center(40).rstrip(),
            f"{e['endereco']}, {e['numero']} - {e['bairro']}"[:40],
            f"{e['cidade']}/{e['uf']}  Fone: {e['fone1']}"[:40],
            f"CNPJ: {e['cnpj']}", "-" * 40]


def periodo(campos, inicio, fim):
    return campos.get(inicio, "0000-00-00 00:00:00"), campos.get(fim, "9999-12-31 23:59:59")


def nome_produto(conta, pid):
    for p in conta.produtos:
        if p["id"] == pid:
            return p["produto"]
    return f"Produto {pid}"


# Each command: (conta, pedido, usuario) -> Resposta. `usuario` is the signed-in user
# (None for "login", which checks the credentials itself). Called under the account lock.

def cmd_login(conta, pedido, _usuario):
    u = conta.autenticar(pedido.campos.get("usuario_email"), pedido.campos.get("usuario_senha"))
    if u is None:
        return Resposta({"empresas_user": [], "empresas": []})
    return Resposta({
        "empresas_user": [{"email": u["email"], "usuario": u["usuario"],
                           "funcionario_id": u["funcionario_id"]}],
        "empresas": [dict(conta.empresa)],
    })


def cmd_sincronia(conta, pedido, _usuario):
    desde = pedido.campos.get("dt_update", "")
    try:
        datetime.datetime.strptime(desde, MOMENT_FORMAT)
    except ValueError:
        return erro("dt_update inválido")

    # Moments share one fixed format, so texts compare as moments do.
    def alterados(registros):
        return [publico(r) for r in registros if r["_alterado"] >= desde]

    return Resposta({
        "datahora": agora(),
        "instalador": conta.instalador,
        "produtos": alterados(conta.produtos),
        "clientes": alterados(conta.clientes),
        # The terminal empties these tables first, so they always go whole.
        "funcionarios": [publico(r) for r in conta.funcionarios],
        "cidades": alterados(conta.cidades),
        "rotas": [publico(r) for r in conta.rotas],
        "pagamentos": [publico(r) for r in conta.pagamentos],
        "cartoes": [publico(r) for r in conta.cartoes],
        "mensagens": [publico(r) for r in conta.mensagens],
    })


def cmd_upload_venda(conta, pedido, _usuario):
    c = pedido.campos
    numero = c.get("venda_numero_venda", "")
    roteiro = conta.upload_roteiro
    recebido = {"numero_venda": numero, "fields": pedido.lista, "body": pedido.corpo,
                "produtos": None, "venda_cartao": None, "aceita": False}
    conta.uploads.append(recebido)
    try:
        corpo = json.loads(pedido.corpo)
        itens = [i for i in corpo["produtos"] if i]
        cartoes = [i for i in corpo["venda_cartao"] if i]
    except (ValueError, KeyError, TypeError):
        return Resposta(texto="Status:ERRO Dados da venda inválidos" + roteiro["anexo"],
                        tipo=HTML_TYPE)
    recebido.update(produtos=itens, venda_cartao=cartoes)
    if not roteiro["aceitar"]:
        return Resposta(texto=f"Status:ERRO Venda {numero} recusada" + roteiro["anexo"],
                        tipo=HTML_TYPE)
    recebido["aceita"] = True
    anterior = next((v for v in conta.vendas if v["numero_venda"] == numero), None)
    vid = anterior["id"] if anterior else max([1000] + [v["id"] for v in conta.vendas]) + 1
    sellers = dict(SELLERS)
    entregador = int(numero_br(c.get("venda_entreg_id", "0")))
    venda = {
        "id": vid, "numero_venda": numero, "dt_venda": agora(),
        "clie_nome": c.get("cliente_nome", ""), "clie_cpf": c.get("cliente_cpf_cnpj", ""),
        "vendedor_id": int(numero_br(c.get("venda_vend_id", "0"))),
        "vendedor_nome": c.get("venda_vend_nome", ""), "entregador_id": entregador,
        "entregador_nome": sellers.get(entregador, ""), "faturamento_id": 0,
        "itens": [{"prod_id": int(numero_br(i.get("prod_id", "0"))),
                   "quant": numero_br(i.get("prod_quant", "0")),
                   "unitario": numero_br(i.get("prod_unitario", "0"))} for i in itens],
        "pagamento": "Cartão" if cartoes else "Dinheiro",
        "valor_total": numero_br(c.get("venda_valor_total", "0")),
    }
    if anterior:
        conta.vendas[conta.vendas.index(anterior)] = venda
    else:
        conta.vendas.append(venda)
    return Resposta(texto=f"Status:OK Venda {numero} recebida (id {vid})" + roteiro["anexo"],
                    tipo=HTML_TYPE)


def vendas_do_periodo(conta, inicio, fim):
    return sorted((v for v in conta.vendas if inicio <= v["dt_venda"] <= fim),
                  key=lambda v: (v["dt_venda"], v["id"]))


def cmd_venda_consultas(conta, pedido, _usuario):
    inicio, fim = periodo(pedido.campos, "venda_busca_data1", "venda_busca_data2")
    busca = pedido.campos.get("venda_busca", "").strip().casefold()
    chaves = ("id", "entregador_id", "entregador_nome", "clie_nome", "clie_cpf",
              "vendedor_nome", "valor_total", "dt_venda", "numero_venda", "faturamento_id")
    vendas = []
    for v in vendas_do_periodo(conta, inicio, fim):
        textos = (v["clie_nome"], v["clie_cpf"], v["vendedor_nome"], v["entregador_nome"],
                  v["numero_venda"])
        if busca and not any(busca in t.casefold() for t in textos):
            continue
        vendas.append({k: v[k] for k in chaves})
    return Resposta({"vendas": vendas})


def cmd_entregador_update(conta, pedido, _usuario):
    try:
        vid = int(pedido.campos.get("venda_id", ""))
        entregador = int(pedido.campos.get("entregador_id", ""))
    except ValueError:
        return erro("venda_id ou entregador_id inválido")
    for v in conta.vendas:
        if v["id"] == vid:
            v["entregador_id"] = entregador
            v["entregador_nome"] = dict(SELLERS).get(entregador, "")
            return Resposta({"retorno": "OK"})
    return erro("Venda não encontrada")


def cmd_seguranca(_conta, pedido, usuario):
    # The supervisor's own credentials came in the common fields.
    try:
        permissao = int(pedido.campos.get("permissao_id", "0"))
    except ValueError:
        permissao = 0
    return Resposta({"permissoes": [{"permissao_id": permissao, "permitir": usuario["permitir"]}]})


def cmd_download_imagens(conta, pedido, _usuario):
    tabela = pedido.campos.get("tabela", "")
    try:
        rid = int(pedido.campos.get("tabela_id", ""))
    except ValueError:
        return Resposta({"url": ""})
    if (tabela, rid) not in PICTURES:
        return Resposta({"url": ""})
    arquivo = f"{tabela}/{rid}.{extensao(tabela, rid)}"
    return Resposta({"url": f"http://{pedido.host}{IMAGES_PREFIX}{arquivo}"})


def extensao(tabela, rid):
    return "jpg" if (tabela, rid) in JPEG_PICTURES else "png"


def crc16(texto):
    crc = 0xFFFF
    for byte in texto.encode("utf-8"):
        crc ^= byte << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) if crc & 0x8000 else crc << 1
            crc &= 0xFFFF
    return f"{crc:04X}"


def br_code(chave, valor, txid):
    def campo(ident, conteudo):
        return f"{ident}{len(conteudo):02d}{conteudo}"
    texto = (campo("00", "01") + campo("26", campo("00", "br.gov.bcb.pix") + campo("01", chave))
             + campo("52", "0000") + campo("53", "986") + campo("54", f"{valor:.2f}")
             + campo("58", "BR") + campo("59", "MERCADINHO SAO JOSE") + campo("60", "CAMPINAS")
             + campo("62", campo("05", txid)) + "6304")
    return texto + crc16(texto)


def cmd_pix(conta, pedido, _usuario):
    numero = pedido.campos.get("numero_venda", "")
    valor = numero_br(pedido.campos.get("valor", "0"))
    roteiro = conta.pix_roteiro
    if roteiro["modo"] == "erro":
        return erro("PIX indisponível para esta conta")
    if roteiro["modo"] == "chave":
        # An account that takes PIX on its key alone issues no charge.
        return Resposta({"pix": [{
            "pix_chave": "11222333000181", "pix_tipo": "CNPJ", "pix_banco": "Banco Simulado S.A.",
            "pix_txid": "", "pix_cod": "", "pix_venc": "", "pix_base64": "", "pix_ok": "false",
        }]})
    # A charge counts as paid from the `pago_no`-th time the terminal asks about it.
    chave = (numero, round(valor, 2))
    conta.pix[chave] = conta.pix.get(chave, 0) + 1
    txid = ("ONDV" + "".join(ch for ch in numero if ch.isalnum()))[:25] or "ONDV"
    venc = (datetime.datetime.now() + datetime.timedelta(minutes=30)).strftime(MOMENT_FORMAT)
    pago = conta.pix[chave] >= roteiro["pago_no"]
    return Resposta({"pix": [{
        "pix_chave": "11222333000181", "pix_tipo": "CNPJ", "pix_banco": "Banco Simulado S.A.",
        "pix_txid": br_code("11222333000181", valor, txid), "pix_cod": txid,
        "pix_venc": venc, "pix_base64": "", "pix_ok": "true" if pago else "false",
    }]})


def cmd_lista_entrega(conta, pedido, _usuario):
    try:
        entregador = int(pedido.campos.get("entregador_id", "0"))
    except ValueError:
        entregador = 0
    inicio, fim = periodo(pedido.campos, "venda_busca_data1", "venda_busca_data2")
    vendas = [v for v in vendas_do_periodo(conta, inicio, fim) if v["entregador_id"] == entregador]
    nome = dict(SELLERS).get(entregador, conta.empresa["fantasia"])
    textos = cabecalho(conta) + ["LISTA DE ENTREGA".center(40).rstrip(),
                                 f"Entregador: {entregador} - {nome}"[:40],
                                 f"Data: {inicio[:10]}", "-" * 40]
    for v in vendas:
        textos += [linha_dupla(f"Venda {v['numero_venda']}", v["dt_venda"][11:16]),
                   linha_dupla(v["clie_nome"], moeda(v["valor_total"])), ""]
    textos += ["-" * 40, linha_dupla(f"Entregas: {len(vendas)}",
                                     "R$ " + moeda(sum(v["valor_total"] for v in vendas)))]
    return linhas("retorno", textos)


def cmd_venda_cupom(conta, pedido, _usuario):
    try:
        vid = int(pedido.campos.get("venda_id", ""))
    except ValueError:
        vid = 0
    venda = next((v for v in conta.vendas if v["id"] == vid), None)
    if venda is None:
        return Resposta({"cupom": []})
    textos = cabecalho(conta) + ["CUPOM NÃO FISCAL".center(40).rstrip(),
                                 f"Venda: {venda['numero_venda']}",
                                 f"Data: {venda['dt_venda']}",
                                 f"Cliente: {venda['clie_nome']}"[:40], "-" * 40]
    for item in venda["itens"]:
        quant = f"{item['quant']:g}".replace(".", ",")
        textos += [nome_produto(conta, item["prod_id"])[:40],
                   linha_dupla(f"  {quant} x {moeda(item['unitario'])}",
                               moeda(item["quant"] * item["unitario"]))]
    textos += ["-" * 40, linha_dupla("TOTAL R$", moeda(venda["valor_total"])),
               linha_dupla("Pagamento:", venda["pagamento"]),
               f"Vendedor: {venda['vendedor_nome']}"[:40]]
    return linhas("cupom", textos)


def cmd_rel_gerencial(conta, pedido, _usuario):
    try:
        funcionario = int(pedido.campos.get("funcionario_id", "0"))
    except ValueError:
        funcionario = 0
    inicio, fim = periodo(pedido.campos, "rel_data1", "rel_data2")
    vendas = [v for v in vendas_do_periodo(conta, inicio, fim)
              if funcionario in (0, v["vendedor_id"])]
    textos = cabecalho(conta) + ["RELATÓRIO GERENCIAL".center(40).rstrip(),
                                 f"De {inicio}"[:40], f"Até {fim}"[:40], "-" * 40]
    formas = {}
    for v in vendas:
        formas[v["pagamento"]] = formas.get(v["pagamento"], 0) + v["valor_total"]
    for forma in sorted(formas):
        textos.append(linha_dupla(forma, moeda(formas[forma])))
    textos += ["-" * 40, linha_dupla("Vendas:", str(len(vendas))),
               linha_dupla("TOTAL R$", moeda(sum(v["valor_total"] for v in vendas)))]
    return linhas("retorno", textos)


COMMANDS = {
    "login": cmd_login,
    "sincronia": cmd_sincronia,
    "upload_venda": cmd_upload_venda,
    "venda_consultas": cmd_venda_consultas,
    "entregador_update": cmd_entregador_update,
    "seguranca": cmd_seguranca,
    "download_imagens": cmd_download_imagens,
    "pix": cmd_pix,
    "lista_entrega": cmd_lista_entrega,
    "venda_cupom": cmd_venda_cupom,
    "rel_gerencial": cmd_rel_gerencial,
}


def processar(conta, pedido):
    comando = pedido.campos.get("comando", "")
    handler = COMMANDS.get(comando)
    if handler is None:
        return erro("comando desconhecido")
    usuario = None
    if comando != "login":
        usuario = conta.autenticar(pedido.campos.get("usuario_email"),
                                   pedido.campos.get("usuario_senha"))
        if usuario is None:
            return erro("Usuário ou senha inválidos")
    return handler(conta, pedido, usuario)


# ---------------------------------------------------------------------------------------
# Faults

def sem_chave(valor, caminho):
    """Drops the key at a dotted path: "erro", "empresas.venda_altvalor" (every element),
    "produtos.0.dt_promocao" (one element)."""
    if not caminho:
        return
    primeiro, resto = caminho[0], caminho[1:]
    if isinstance(valor, dict):
        if not resto:
            valor.pop(primeiro, None)
        elif primeiro in valor:
            sem_chave(valor[primeiro], resto)
    elif isinstance(valor, list):
        if primeiro.isdigit():
            if int(primeiro) < len(valor):
                sem_chave(valor[int(primeiro)], resto)
        else:
            for elemento in valor:
                sem_chave(elemento, caminho)


def pagina_html(status, titulo):
    return (f"<!DOCTYPE html>\n<html><head><title>{status} {titulo}</title></head>\n"
            f"<body><h1>{titulo}</h1><p>The requested URL was not found on this server.</p>"
            f"<hr><address>cloud-sim at 127.0.0.1</address></body></html>\n")


def png(largura, altura, cor):
    linha = b"\x00" + bytes(cor) * largura
    def bloco(tipo, conteudo):
        return (struct.pack(">I", len(conteudo)) + tipo + conteudo
                + struct.pack(">I", zlib.crc32(tipo + conteudo) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n"
            + bloco(b"IHDR", struct.pack(">IIBBBBB", largura, altura, 8, 2, 0, 0, 0))
            + bloco(b"IDAT", zlib.compress(linha * altura)) + bloco(b"IEND", b""))


def jpeg(largura, altura, cor):
    """A baseline JPEG of one colour. The standard library has no encoder, so this one
    writes only flat 8x8 blocks: with a quantisation of 1 each block is its DC
    coefficient alone, the DC table codes the 12 categories in 4 bits each and the AC
    table holds nothing but the end of block. The blocks cover the sides rounded up to
    multiples of 8."""
    r, g, b = cor
    componentes = (0.299 * r + 0.587 * g + 0.114 * b,
                   -0.1687 * r - 0.3313 * g + 0.5 * b + 128,
                   0.5 * r - 0.4187 * g - 0.0813 * b + 128)
    dcs = [round(8 * (min(255, max(0, v)) - 128)) for v in componentes]

    def segmento(marcador, conteudo):
        return bytes([0xFF, marcador]) + struct.pack(">H", len(conteudo) + 2) + conteudo

    bits = []

    def escrever(valor, n):
        bits.extend((valor >> (n - 1 - i)) & 1 for i in range(n))

    anteriores = [0, 0, 0]
    blocos = ((largura + 7) // 8) * ((altura + 7) // 8)
    for _ in range(blocos):
        for c in range(3):
            d = dcs[c] - anteriores[c]
            anteriores[c] = dcs[c]
            categoria = abs(d).bit_length()
            escrever(categoria, 4)
            if categoria:
                escrever(d if d >= 0 else d + (1 << categoria) - 1, categoria)
            escrever(0, 1)  # end of block
    bits.extend([1] * (-len(bits) % 8))
    dados = bytearray()
    for i in range(0, len(bits), 8):
        byte = int("".join(map(str, bits[i:i + 8])), 2)
        dados.append(byte)
        if byte == 0xFF:
            dados.append(0x00)

    return (b"\xFF\xD8"
            + segmento(0xE0, b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00")
            + segmento(0xDB, b"\x00" + b"\x01" * 64)
            + segmento(0xC0, struct.pack(">BHHB", 8, altura, largura, 3)
                       + b"\x01\x11\x00\x02\x11\x00\x03\x11\x00")
            + segmento(0xC4, b"\x00" + bytes([0, 0, 0, 12] + [0] * 12) + bytes(range(12)))
            + segmento(0xC4, b"\x10" + bytes([1] + [0] * 15) + b"\x00")
            + segmento(0xDA, b"\x03\x01\x00\x02\x00\x03\x00\x00\x3F\x00")
            + bytes(dados) + b"\xFF\xD9")


# ---------------------------------------------------------------------------------------
# HTTP

class Pedido:
    def __init__(self, metodo, caminho, query, campos, cabecalhos, corpo, host):
        self.metodo, self.caminho, self.query = metodo, caminho, query
        self.lista = campos  # [[name, value], ...] in order
        self.campos = {}
        for nome, valor in campos:  # the first of repeated names counts
            self.campos.setdefault(nome, valor)
        self.cabecalhos, self.corpo, self.host = cabecalhos, corpo, host

    def registro(self):
        return {"method": self.metodo, "path": self.caminho, "query": self.query,
                "fields": self.lista, "headers": self.cabecalhos, "body": self.corpo}


class Handler(BaseHTTPRequestHandler):
    # HTTP/1.1, so that clients that send "Expect: 100-continue" get their answer at once.
    protocol_version = "HTTP/1.1"
    server_version = "cloud-sim"
    sys_version = ""

    def log_message(self, fmt, *args):
        if not self.server.quiet:
            sys.stderr.write("cloud-sim: " + (fmt % args) + "\n")

    def do_GET(self):
        self.atender()

    do_POST = do_PUT = do_DELETE = do_HEAD = do_PATCH = do_OPTIONS = do_GET

    # --- plumbing

    def ler_corpo(self):
        if "chunked" in self.headers.get("Transfer-Encoding", "").lower():
            partes = []
            while True:
                tamanho = int(self.rfile.readline().split(b";")[0].strip() or b"0", 16)
                if tamanho == 0:
                    while self.rfile.readline().strip():
                        pass
                    return b"".join(partes)
                partes.append(self.rfile.read(tamanho))
                self.rfile.readline()
        tamanho = int(self.headers.get("Content-Length", "0") or 0)
        return self.rfile.read(tamanho) if tamanho > 0 else b""

    def enviar(self, status, corpo, tipo, tamanho=None):
        self.send_response(status)
        self.send_header("Content-Type", tipo)
        self.send_header("Content-Length", str(len(corpo) if tamanho is None else tamanho))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(corpo)

    def enviar_json(self, status, valor):
        self.enviar(status, json.dumps(valor, ensure_ascii=False).encode("utf-8"), JSON_TYPE)

    def atender(self):
        url = urlsplit(self.path)
        corpo = self.ler_corpo()
        conta = self.server.conta
        if url.path.startswith(CONTROL_PREFIX):
            self.controle(url, corpo)
            return
        campos = [[n, v] for n, v in parse_qsl(url.query, keep_blank_values=True,
                                                encoding="utf-8", errors="replace")]
        cabecalhos = {}
        for nome, valor in self.headers.items():
            cabecalhos[nome] = cabecalhos[nome] + ", " + valor if nome in cabecalhos else valor
        host = self.headers.get("Host") or f"127.0.0.1:{self.server.server_address[1]}"
        pedido = Pedido(self.command, url.path, url.query, campos, cabecalhos,
                        corpo.decode("utf-8", errors="replace"), host)
        with conta.lock:
            conta.pedidos.append(pedido.registro())
        if url.path == API_PATH:
            if self.command in ("POST", "PUT"):
                self.api(pedido)
            else:
                self.enviar(405, pagina_html(405, "Method Not Allowed").encode(), HTML_TYPE)
        elif url.path.startswith(IMAGES_PREFIX) and self.command in ("GET", "HEAD"):
            self.imagem(url.path)
        elif url.path.startswith(CEP_PREFIX) and self.command in ("GET", "HEAD"):
            self.cep(url.path)
        elif url.path == VERSION_PATH and self.command in ("GET", "HEAD"):
            self.versao()
        elif url.path == ORDER_PATH and self.command in ("GET", "HEAD"):
            self.pedido_compra(dict(campos))
        else:
            self.enviar(404, pagina_html(404, "Not Found").encode(), HTML_TYPE)

    def pedido_compra(self, campos):
        """The portal's purchase-order page of a sale, as the terminal opens it."""
        documento = html.escape(campos.get("documento", ""))
        if campos.get("relatorio") != "vendas_pedido001" or not campos.get("key"):
            self.enviar(404, pagina_html(404, "Not Found").encode(), HTML_TYPE)
            return
        botao = ('<p><button onclick="window.print()">Imprimir</button></p>'
                 if campos.get("buttonvisible") == "1" else "")
        pagina = (f"<!DOCTYPE html><html><head><meta charset='utf-8'><title>Pedido {documento}"
                  f"</title></head><body style='font-family: sans-serif; margin: 40px'>"
                  f"<h1>Pedido de Compra</h1><p>Venda n&ordm; {html.escape(campos.get('id', ''))}"
                  f" &mdash; documento <b>{documento or '(sem documento)'}</b></p>{botao}"
                  f"</body></html>")
        self.enviar(200, pagina.encode("utf-8"), HTML_TYPE)

    def imagem(self, caminho):
        mudou = caminho.startswith(MOVED_PREFIX)
        partes = caminho[len(MOVED_PREFIX if mudou else IMAGES_PREFIX):].split("/")
        if len(partes) == 2 and "." in partes[1]:
            nome, ext = partes[1].rsplit(".", 1)
            if nome.isdigit() and (partes[0], int(nome)) in PICTURES \
                    and ext == extensao(partes[0], int(nome)):
                chave = (partes[0], int(nome))
                if mudou:
                    self.send_response(302)
                    self.send_header("Location", f"{IMAGES_PREFIX}{partes[0]}/{partes[1]}")
                    self.send_header("Content-Length", "0")
                    self.end_headers()
                    return
                largura, altura = PICTURES[chave]
                cor = (40 * chave[1] % 256, 90, 200 - 15 * chave[1] % 200)
                if ext == "jpg":
                    self.enviar(200, jpeg(largura, altura, cor), "image/jpeg")
                else:
                    self.enviar(200, png(largura, altura, cor), "image/png")
                return
        self.enviar(404, pagina_html(404, "Not Found").encode(), HTML_TYPE)

    def cep(self, caminho):
        """The public postal-code service: "/ws/<8 digits>/json"; an unknown CEP gets
        {"erro": true}, a malformed one 400. "responder" with comando=cep overrides it."""
        with self.server.conta.lock:
            roteiro = self.server.conta.roteiro.get("cep")
        if roteiro and roteiro["modo"] == "responder":
            self.enviar(roteiro["status"], roteiro["corpo"], roteiro["tipo"])
            return
        partes = caminho[len(CEP_PREFIX):].split("/")
        if len(partes) != 2 or partes[1] != "json" or len(partes[0]) != 8 \
                or not partes[0].isdigit():
            self.enviar(400, pagina_html(400, "Bad Request").encode(), HTML_TYPE)
            return
        digitos = partes[0]
        if digitos not in POSTAL_CODES:
            self.enviar_json(200, {"erro": True})
            return
        rua, complemento, bairro, cidade, uf = POSTAL_CODES[digitos]
        self.enviar_json(200, {
            "cep": f"{digitos[:5]}-{digitos[5:]}", "logradouro": rua, "complemento": complemento,
            "unidade": "", "bairro": bairro, "localidade": cidade, "uf": uf, "ibge": "3509502",
            "gia": "2446", "ddd": "19", "siafi": "6291"})

    def versao(self):
        """The maker's update site: the current version as plain digits and a line break.
        "responder" with comando=versao overrides it."""
        with self.server.conta.lock:
            roteiro = self.server.conta.roteiro.get("versao")
            versao = self.server.conta.versao
        if roteiro and roteiro["modo"] == "responder":
            self.enviar(roteiro["status"], roteiro["corpo"], roteiro["tipo"])
            return
        self.enviar(200, (versao + "\r\n").encode("utf-8"), "text/html; charset=UTF-8")

    # --- the API

    def api(self, pedido):
        conta = self.server.conta
        comando = pedido.campos.get("comando", "")
        with conta.lock:
            roteiro = conta.roteiro.get(comando) or conta.roteiro.get("*")
        if roteiro and roteiro["modo"] == "responder":
            self.enviar(roteiro["status"], roteiro["corpo"], roteiro["tipo"])
            return
        modo = roteiro["modo"] if roteiro else None
        if modo == "recusar":
            self.close_connection = True
            return
        if modo == "html404":
            self.enviar(404, pagina_html(404, "Not Found").encode(), HTML_TYPE)
            return
        if modo == "lento":
            time.sleep(roteiro["segundos"])
        # The other faults damage the delivery of a reply the account did work out.
        with conta.lock:
            resposta = processar(conta, pedido)
        if modo == "sem_chave":
            if resposta.texto is not None:
                resposta.texto = resposta.texto.replace(roteiro["chave"], "")
            else:
                sem_chave(resposta.dados, roteiro["chave"].split("."))
        corpo = resposta.corpo()
        if modo == "500":
            # A valid JSON body, so that only the status tells the failure.
            if resposta.texto is not None:
                corpo = json.dumps({"erro": "Erro interno", "retorno": resposta.texto},
                                   ensure_ascii=False).encode("utf-8")
            self.enviar(500, corpo, JSON_TYPE)
        elif modo == "json":
            self.enviar(200, corpo[: len(corpo) // 2], resposta.tipo)
        elif modo == "truncado":
            self.close_connection = True
            self.enviar(200, corpo[: len(corpo) // 2], resposta.tipo, tamanho=len(corpo))
        elif modo == "grande":
            self.grande(resposta, corpo, roteiro["megas"])
        else:
            self.enviar(resposta.status, corpo, resposta.tipo)

    def grande(self, resposta, corpo, megas):
        """The reply padded to `megas` MB and streamed: for JSON, a filler array under
        "_enchimento" keeps it valid."""
        alvo = int(megas * 1024 * 1024)
        if resposta.texto is None and corpo.endswith(b"}"):
            abre = corpo[:-1] + (b',"_enchimento":[' if len(corpo) > 2 else b'"_enchimento":[')
            fecha = b"]}"
            elemento = b'"' + b"0123456789abcdef" * 64 + b'"'
            separador = b","
        else:
            abre, fecha, elemento, separador = corpo, b"", b" " * 1023 + b"\n", b""
        passo = len(elemento) + len(separador)
        n = max(1, (alvo - len(abre) - len(fecha) + len(separador)) // passo)
        tamanho = len(abre) + n * len(elemento) + (n - 1) * len(separador) + len(fecha)
        self.send_response(200)
        self.send_header("Content-Type", resposta.tipo)
        self.send_header("Content-Length", str(tamanho))
        self.end_headers()
        self.wfile.write(abre)
        lote = 256
        for inicio in range(0, n, lote):
            k = min(lote, n - inicio)
            bloco = separador.join([elemento] * k)
            if inicio + k < n:
                bloco += separador
            self.wfile.write(bloco)
        self.wfile.write(fecha)

    # --- the control API

    def controle(self, url, corpo):
        conta = self.server.conta
        nome = url.path[len(CONTROL_PREFIX):]
        params = dict(parse_qsl(url.query, keep_blank_values=True))
        try:
            if nome == "uploads" and self.command in ("GET", "POST"):
                with conta.lock:
                    texto = json.dumps(conta.uploads, ensure_ascii=False)
                self.enviar(200, texto.encode("utf-8"), JSON_TYPE)
                return
            if nome == "requests" and self.command in ("GET", "POST"):
                comando = params.get("comando")
                with conta.lock:
                    pedidos = [p for p in conta.pedidos if comando is None
                               or next((v for n, v in p["fields"] if n == "comando"), None) == comando]
                    texto = json.dumps(pedidos, ensure_ascii=False)
                self.enviar(200, texto.encode("utf-8"), JSON_TYPE)
                return
            if self.command != "POST":
                raise ValueError("use POST")
            if nome == "reset":
                with conta.lock:
                    conta.reset()
            elif nome == "fail":
                self.falha(params)
            elif nome == "responder":
                comando = params.get("comando") or _falta("comando")
                roteiro = {"modo": "responder", "corpo": corpo,
                           "status": int(params.get("status", "200")),
                           "tipo": params.get("tipo") or "application/json"}
                with conta.lock:
                    conta.roteiro[comando] = roteiro
            elif nome == "upload_venda":
                aceitar = params.get("modo", "ok")
                if aceitar not in ("ok", "erro"):
                    raise ValueError(f"modo desconhecido: {aceitar}")
                with conta.lock:
                    conta.upload_roteiro = {"aceitar": aceitar == "ok",
                                            "anexo": corpo.decode("utf-8")}
            elif nome == "pix":
                modo = params.get("modo") or _falta("modo")
                if modo not in ("cobranca", "chave", "erro"):
                    raise ValueError(f"modo desconhecido: {modo}")
                pago_no = int(params.get("pago_no", "2"))
                with conta.lock:
                    conta.pix_roteiro = {"modo": modo, "pago_no": pago_no}
            elif nome == "instalador":
                with conta.lock:
                    conta.instalador = params.get("data", "")
            else:
                self.enviar_json(404, {"erro": f"controle desconhecido: {nome}"})
                return
        except ValueError as e:
            self.enviar_json(400, {"erro": str(e)})
            return
        self.enviar_json(200, {"ok": True})

    def falha(self, params):
        comando = params.get("comando") or _falta("comando")
        modo = params.get("modo") or _falta("modo")
        conta = self.server.conta
        if modo == "nenhum":
            with conta.lock:
                conta.roteiro.pop(comando, None)
            return
        if modo not in FAULT_MODES:
            raise ValueError(f"modo desconhecido: {modo}")
        roteiro = {"modo": modo}
        if modo == "sem_chave":
            roteiro["chave"] = params.get("chave") or _falta("chave")
        if modo == "lento":
            roteiro["segundos"] = float(params.get("segundos") or _falta("segundos"))
        if modo == "grande":
            roteiro["megas"] = float(params.get("megas") or _falta("megas"))
        with conta.lock:
            conta.roteiro[comando] = roteiro


def _falta(nome):
    raise ValueError(f"falta o parâmetro {nome}")


class Servidor(ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, porta, conta, quiet):
        self.conta, self.quiet = conta, quiet
        super().__init__(("127.0.0.1", porta), Handler)

    def handle_error(self, request, client_address):
        # A client that gave up (time-out, refused fault) is no error of ours.
        if isinstance(sys.exc_info()[1], (ConnectionError, TimeoutError)):
            return
        if not self.quiet:
            super().handle_error(request, client_address)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Simulator of the shop's cloud account.")
    parser.add_argument("--port", type=int, default=0, help="port on 127.0.0.1 (0: a free one)")
    parser.add_argument("--quiet", action="store_true", help="no request log on stderr")
    parser.add_argument("--instalador", default="",
                        help='date-time of the newest installer, "YYYY-MM-DD HH:MM:SS"')
    parser.add_argument("--versao", default=VERSAO_PADRAO,
                        help="program version the update site announces, YYYYMMDD")
    args = parser.parse_args(argv)

    servidor = Servidor(args.port, Conta(args.instalador, args.versao), args.quiet)

    def parar(_sinal, _quadro):
        raise SystemExit(0)

    signal.signal(signal.SIGTERM, parar)
    print(f"PORT {servidor.server_address[1]}", flush=True)
    try:
        servidor.serve_forever()
    except (KeyboardInterrupt, SystemExit):
        pass
    finally:
        servidor.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
