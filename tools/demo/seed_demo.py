#!/usr/bin/env python3
"""Prepares a program folder for an offline demonstration of the terminal.

Writes the demo user's saved credentials into confg.ini (the offline sign-in checks
them) and gives the demo company its own database with a small catalogue, so that the
sale screen can be used at once. Safe to run again: it refreshes the catalogue and
leaves the company's sales alone.

    seed_demo.py PROGRAM_FOLDER
"""
import configparser
import hashlib
import os
import shutil
import sqlite3
import sys

EMAIL = "demo@balcona.com.br"
PASSWORD = "demo123"
CNPJ = "11.222.333/0001-81"

PRODUCTS = [
    # id, name, barcode, unit, price, stock, group, brand, promotion %, promotion minimum
    (1, "Arroz Branco Tipo 1 5kg", "7891000100011", "UN", 27.90, 40, "Mercearia", "Tio Jorge", 0, 0),
    (2, "Feijão Carioca 1kg", "7891000100028", "UN", 8.49, 55, "Mercearia", "Camponês", 0, 0),
    (3, "Açúcar Refinado 1kg", "7891000100035", "UN", 4.99, 80, "Mercearia", "Doçura", 0, 0),
    (4, "Café Torrado e Moído 500g", "7891000100042", "UN", 15.00, 30, "Mercearia", "Serra Alta", 10, 3),
    (5, "Óleo de Soja 900ml", "7891000100059", "UN", 7.29, 60, "Mercearia", "Girassol", 0, 0),
    (6, "Macarrão Espaguete 500g", "7891000100066", "UN", 4.39, 70, "Mercearia", "Nonna", 0, 0),
    (7, "Leite Integral 1L", "7891000100073", "UN", 5.19, 120, "Laticínios", "Fazenda Boa", 0, 0),
    (8, "Manteiga com Sal 200g", "7891000100080", "UN", 11.90, 0, "Laticínios", "Fazenda Boa", 0, 0),
    (9, "Pão de Forma Integral", "7891000100097", "UN", 9.99, 15, "Padaria", "Trigal", 0, 0),
    (10, "Sabão em Pó 1kg", "7891000100103", "UN", 13.49, 25, "Limpeza", "Brilho", 0, 0),
    (11, "Detergente Neutro 500ml", "7891000100110", "UN", 2.59, 90, "Limpeza", "Brilho", 0, 0),
    (12, "Papel Higiênico 12 rolos", "7891000100127", "UN", 19.90, 18, "Higiene", "Macio", 0, 0),
    (13, "Creme Dental 90g", "7891000100134", "UN", 4.79, 45, "Higiene", "Sorriso", 0, 0),
    (14, "Refrigerante Guaraná 2L", "7891000100141", "UN", 8.99, 36, "Bebidas", "Amazônia", 0, 0),
    (15, "Água Mineral 1,5L", "7891000100158", "UN", 2.99, 100, "Bebidas", "Fonte Clara", 0, 0),
    (16, "Suco de Laranja 1L", "7891000100165", "UN", 7.49, 22, "Bebidas", "Pomar", 0, 0),
    (17, "Biscoito Recheado Chocolate", "7891000100172", "UN", 3.29, 64, "Mercearia", "Delícia", 0, 0),
    (18, "Farinha de Mandioca 500g", "7891000100189", "UN", 5.59, 33, "Mercearia", "Raiz", 0, 0),
    (19, "Sardinha em Óleo 125g", "7891000100196", "UN", 6.39, 48, "Mercearia", "Mar Azul", 0, 0),
    (20, "Molho de Tomate 340g", "7891000100202", "UN", 3.19, 75, "Mercearia", "Nonna", 0, 0),
    # weighed goods: the barcode is the code part of the scale label
    (21, "Queijo Mussarela KG", "2000021", "KG", 49.90, 12, "Frios", "Laticínio Sul", 0, 0),
    (22, "Presunto Cozido KG", "2000022", "KG", 39.90, 8, "Frios", "Laticínio Sul", 0, 0),
    (23, "Banana Prata KG", "2000023", "KG", 6.99, 40, "Hortifruti", "Nenhuma", 0, 0),
    (24, "Tomate Italiano KG", "2000024", "KG", 8.49, 25, "Hortifruti", "Nenhuma", 0, 0),
    (25, "Carne Moída Patinho KG", "2000025", "KG", 44.90, 10, "Açougue", "Nenhuma", 0, 0),
]


def md5_upper(text):
    data = "".join(c if ord(c) < 128 else "?" for c in text).encode("ascii")
    return hashlib.md5(data).hexdigest().upper()


def write_settings(folder):
    path = os.path.join(folder, "confg.ini")
    ini = configparser.RawConfigParser()
    ini.optionxform = str
    if os.path.exists(path):
        ini.read(path, encoding="utf-8")
    if not ini.has_section("Usuario"):
        ini.add_section("Usuario")
    ini.set("Usuario", "Email", EMAIL)
    if not ini.has_section(EMAIL):
        ini.add_section(EMAIL)
    values = {
        "Usuario_Email": EMAIL,
        "Usuario_Nome": "Operador Demonstração",
        "Usuario_Password": md5_upper(PASSWORD + EMAIL),
        "Usuario_ID": "1",
        "Vendedor_Nome": "Operador Demonstração",
        "Vendedor_ID": "1",
        "Emp_Nome": "Mercadinho São José",
        "Emp_ID": "1",
        "Emp_Endereco": "Rua das Flores",
        "Emp_Numero": "120",
        "Emp_Bairro": "Centro",
        "Emp_Cidade": "Campinas",
        "Emp_UF": "SP",
        "Emp_Fone": "(19)3333-4444",
        "Emp_cnpj": CNPJ,
        "Emp_Instagram": "https://instagram.com/mercadinhosaojose",
    }
    for key, value in values.items():
        ini.set(EMAIL, key, value)
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        ini.write(f, space_around_delimiters=False)


def seed_company(folder):
    shipped = os.path.join(folder, "dbase.s3db")
    company = os.path.join(folder, "".join(c for c in CNPJ if c.isdigit()))
    os.makedirs(company, exist_ok=True)
    target = os.path.join(company, "dbase.s3db")
    if not os.path.exists(target):
        shutil.copyfile(shipped, target)
    db = sqlite3.connect(target)
    with db:
        for (pid, name, barcode, unit, price, stock, group, brand, promo, promo_min) in PRODUCTS:
            db.execute(
                "insert or replace into produtos (id, ativo, produto, cbarra, medida, venda, estoque,"
                " grupo, marca, tamanho, promocao, promocao_min, dt_promocao)"
                " values (?, 1, ?, ?, ?, ?, ?, ?, ?, 'Padrao', ?, ?, '2024-01-01 00:00:00')",
                (pid, name, barcode, unit, price, stock, group, brand, promo, promo_min))
        db.execute("insert or replace into funcionarios (id, nome, ativo) values (1, 'Operador Demonstração', 1)")
        db.execute("insert or replace into funcionarios (id, nome, ativo) values (2, 'Carlos Entregas', 1)")
    db.close()


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    folder = sys.argv[1]
    if not os.path.exists(os.path.join(folder, "dbase.s3db")):
        print(f"seed_demo: {folder} has no dbase.s3db; build the terminal first", file=sys.stderr)
        return 1
    write_settings(folder)
    seed_company(folder)
    print(f"seed_demo: sign in offline with {EMAIL} / {PASSWORD}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
